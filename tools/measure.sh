#!/usr/bin/env bash
# Prints the program's figures: executable and release zip size, start-up time to a visible window
# and working set (warm Wine prefix, private Xvfb), and the time to expand a folder of 50,000 files
# and 100 sub-folders in a folder tree (five runs each).
# Usage: tools/measure.sh [build tree, default build-win]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(readlink -f "${1:-build-win}")
cmake --build "$build" --target Vornitax2021 startup_probe gui_window_tests >/dev/null
echo "exe size: $(stat -c %s "$build/Vornitax2021.exe") bytes;" \
     "release zip: $(stat -c %s "$build/Vornitax2021.zip") bytes"

mkdir -p "$build/testdrive/measure"
cp "$build/Vornitax2021.exe" "$build/testdrive/measure/"
# Warm the prefix: the first Wine start after a while also starts wineserver and its services.
"$build/wine-run" cmd /c exit >/dev/null 2>&1 || true
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  "$build/wine-run" "$build/tests-gui/startup_probe.exe" 'T:\measure\Vornitax2021.exe' 5 2>/dev/null

tests/gui/make_folder_of_files.sh "$build/testdrive/gui_tree_50000_100" 50000 100
for _ in 1 2 3 4 5; do
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    "$build/wine-run" "$build/tests-gui/gui_window_tests.exe" \
    --gtest_filter='Controls.FolderOfFiftyThousandFilesAndHundredFoldersExpandsToItsFolders' \
    2>/dev/null | grep MEASURED
done
