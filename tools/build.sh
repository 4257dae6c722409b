#!/usr/bin/env bash
# Configures (once) and builds both trees: build-native (host, engine tests) and build-win
# (i686-w64-mingw32: the program and the tests that run under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build-native/build.ninja ] || cmake -S . -B build-native -G Ninja >/dev/null
[ -f build-win/build.ninja ] || cmake -S . -B build-win -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build-native
cmake --build build-win
