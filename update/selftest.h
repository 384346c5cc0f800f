#pragma once
// The Self Test window and its update check.
void showSelfTest();
