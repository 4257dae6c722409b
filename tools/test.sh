#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: the native engine tests and the
# Windows-side tests under Wine. Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh
status=0
echo "== native tests"
ctest --test-dir build-native --output-on-failure -j2 || status=1
echo "== Windows tests under Wine"
ctest --test-dir build-win --output-on-failure || status=1
exit $status
