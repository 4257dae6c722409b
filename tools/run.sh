#!/usr/bin/env bash
# Installs what is missing, builds, makes a demo collection and starts the program under Wine.
# The demo (build-win/demo) is drive D: of build-win's Wine prefix: companion root D:\周边 with a
# few types, ROMs in D:\roms (Chinese names included), output folder D:\输出. The program runs from
# D:\Vornitax2021.exe, so its run log is D:\logo.txt (build-win/demo/logo.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh

build=build-win
demo=$build/demo
if [ ! -d "$demo/周边" ]; then
  echo "run: making the demo collection in $demo"
  mkdir -p "$demo/roms" "$demo/输出"
  roms=(魂斗罗 超级马里奥兄弟 坦克大战 冒险岛 "Contra Force")
  for rom in "${roms[@]}"; do printf 'ROM %s\n' "$rom" > "$demo/roms/$rom.zip"; done
  mkdir -p "$demo/周边/封面" "$demo/周边/截图" "$demo/周边/标题画面" "$demo/周边/说明书"
  for rom in "${roms[@]}"; do
    printf 'cover of %s\n' "$rom" > "$demo/周边/封面/$rom.png"
    printf 'snapshot of %s\n' "$rom" > "$demo/周边/截图/$rom.jpg"
  done
  # Some companions missing, so the run log has failures to show.
  printf 'title of 魂斗罗\n' > "$demo/周边/标题画面/魂斗罗.png"
  printf 'manual of 坦克大战\n' > "$demo/周边/说明书/坦克大战.txt"
fi
cp "$build/Vornitax2021.exe" "$demo/"

# The prefix is made on first use of the wrapper; then D: is pointed at the demo.
[ -d "$build/wineprefix/dosdevices" ] || "$build/wine-run" cmd /c exit >/dev/null 2>&1 || true
drive="$build/wineprefix/dosdevices/d:"
if [ -e "$drive" ] && [ "$(readlink -f "$drive")" != "$(readlink -f "$demo")" ] && [ ! -L "$drive" ]; then
  echo "run: $drive exists and is not a link; leaving it alone" >&2
  exit 1
fi
ln -sfn "$(readlink -f "$demo")" "$drive"

if [ -n "${DISPLAY:-}" ]; then
  echo "run: starting Vornitax2021 on $DISPLAY (demo folders on drive D:)"
  exec "$build/wine-run" 'D:\Vornitax2021.exe'
else
  echo "run: DISPLAY is not set, so the program runs on a virtual X display (Xvfb) where it" \
       "cannot be seen; set DISPLAY to use it, or see tools/screenshot.sh. Ctrl+C ends it."
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$build/wine-run" 'D:\Vornitax2021.exe'
fi
