#!/usr/bin/env bash
# Installs what is missing, builds and starts the game from the repository root; options are
# passed on to the game (./play.sh --window).
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOR_TESTS=OFF >/dev/null
cmake --build build --target zor -j"$(nproc)"
exec ./build/zor "$@"
