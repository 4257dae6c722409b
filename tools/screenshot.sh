#!/usr/bin/env bash
# Takes docs/screenshot.png: the program under Wine on a private Xvfb server, with Wine drawing the
# window frame itself (there is no window manager), after a companion root has been clicked so its
# types are listed. Usage: tools/screenshot.sh [build tree, default build-win] [output png]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}
out=${2:-docs/screenshot.png}
[ -f "$build/Vornitax2021.exe" ] || { echo "screenshot: build $build first" >&2; exit 1; }
[ -f "$build/tests-gui/screenshot_driver.exe" ] || cmake --build "$build" --target screenshot_driver

# A demo collection on a drive of its own (S:), so the trees show nothing else.
demo="$build/screenshot-demo"
rm -rf "$demo"
mkdir -p "$demo/app" "$demo/roms" "$demo/输出"
for type in 封面 截图 标题画面 卡带图; do mkdir -p "$demo/周边/$type"; done
for rom in 魂斗罗 超级马里奥 坦克大战; do
  : > "$demo/roms/$rom.zip"
  for type in 封面 截图; do : > "$demo/周边/$type/$rom.png"; done
done
cp "$build/Vornitax2021.exe" "$demo/app/"
[ -d "$build/wineprefix/dosdevices" ] || "$build/wine-run" cmd /c exit >/dev/null 2>&1 || true
ln -sfn "$(readlink -f "$demo")" "$build/wineprefix/dosdevices/s:"

# Wine hands the UTF-8 command line to the driver in the ANSI code page (936).
root_path="周边"
roms_path="roms"
out_path="输出"

"$build/wine-run" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
mkdir -p "$(dirname "$out")"
export VX_BUILD="$build" VX_OUT="$out" VX_DEMO="$demo" VX_ROOT="$root_path" VX_ROMS="$roms_path" \
  VX_OUTPUT="$out_path"
xvfb-run -a -s "-screen 0 1100x640x24 -nolisten tcp" bash -c '
  set -euo pipefail
  "$VX_BUILD/wine-run" "$VX_BUILD/tests-gui/screenshot_driver.exe" \
    "S:\\app\\Vornitax2021.exe" "S:\\" "$VX_ROOT" "$VX_ROMS" "$VX_OUTPUT" &
  driver=$!
  for _ in $(seq 1 600); do [ -f "$VX_DEMO/app/ready" ] && break; sleep 0.1; done
  [ -f "$VX_DEMO/app/ready" ] || { echo "screenshot: the program did not get ready" >&2; exit 1; }
  sleep 0.5
  window=$(xdotool search --name "Vornitax2021 By Quelbrin" | head -1)
  import -window "$window" "$VX_OUT"
  touch "$VX_DEMO/app/taken"
  wait $driver
'
"$build/wine-run" reg delete 'HKCU\Software\Wine\X11 Driver' /v Decorated /f >/dev/null 2>&1 || true
echo "screenshot: $out ($(identify -format '%wx%h' "$out"))"
