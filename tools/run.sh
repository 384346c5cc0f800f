#!/usr/bin/env bash
# Sets up, builds and starts the game. Needs a display (or run it under xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
exec build/bin/zingaroo "$@"
