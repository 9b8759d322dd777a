#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: a plain build (with the
# end-to-end tests in a virtual X server), a build under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the browser build tested in headless Chromium.
# A test that cannot run fails; ZOR_SKIP_E2E=1 leaves out the end-to-end tests and
# ZOR_SKIP_WEB=1 the browser build and its test, on purpose.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh --tests
jobs="$(nproc)"
e2e=ON
if [ "${ZOR_SKIP_E2E:-0}" = 1 ]; then e2e=OFF; fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOR_TESTS=ON -DZOR_E2E="$e2e"
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure --no-tests=error -j"$jobs")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZOR_SANITIZE=ON -DZOR_TESTS=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure --no-tests=error -j"$jobs" -LE e2e)

# The browser build and its end-to-end test in headless Chromium.
if [ "${ZOR_SKIP_WEB:-0}" != 1 ]; then
  tools/setup.sh emscripten chromium
  command -v npm >/dev/null || tools/setup.sh npm
  make web JOBS="$jobs"
  (cd tests/web && npm ci --no-audit --no-fund)
  node tests/web/web_test.mjs
fi
