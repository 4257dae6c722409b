#!/usr/bin/env bash
# Rebuilds the pictures in assets/: the banner (700x80 PNG with alpha: the title in heavy letters,
# one colour, transparent background) and the application icon (32x32, 256 colours).
set -euo pipefail
cd "$(dirname "$0")/.."
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
colour='rgb(5,97,166)'

# The letters are drawn white on black as a coverage mask and the mask becomes the alpha channel
# of a canvas filled with the one colour: every pixel has exactly that colour, only alpha varies.
# A stroke of the same colour makes the bold face heavier.
convert -size 700x80 xc:black -font "$font" -pointsize 64 -fill white -stroke white \
  -strokewidth 2 -gravity west -annotate +6+0 'Vornitax2021' /tmp/vx-banner-mask.png
convert -size 700x80 "xc:$colour" /tmp/vx-banner-mask.png -alpha off -compose CopyOpacity \
  -composite -define png:color-type=6 PNG32:assets/banner.png
rm -f /tmp/vx-banner-mask.png

python3 tools/make_icon.py assets/app.ico
echo "assets: banner.png $(identify -format '%wx%h %[channels]' assets/banner.png)," \
  "app.ico $(identify -format '%wx%h %[type]' assets/app.ico)"
