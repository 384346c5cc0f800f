#pragma once
// The About window.
void showAbout();
