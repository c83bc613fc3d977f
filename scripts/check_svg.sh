#!/usr/bin/env bash
# Looks at the picture of tavro borders in a real browser: draws the bundled sample map, has
# headless Chromium render the SVG to a PNG, and checks that the PNG holds the picture (its size,
# and many colours: the filled regions). Not part of the test suite, since Chromium is large;
# run it by hand after changing the picture. Installs Chromium with apt-get when it is missing
# (Debian 12, as root).
#
# usage: bash scripts/check_svg.sh [PNG]   (default out/regions.png; the README's picture is
#        docs/borders.png, made by: bash scripts/check_svg.sh docs/borders.png)
set -euo pipefail
cd "$(dirname "$0")/.."
png=${1:-out/regions.png}
bash scripts/deps.sh
if ! command -v chromium >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends chromium fonts-dejavu-core >/dev/null
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2 --target tavro >/dev/null
mkdir -p out "$(dirname "$png")"
./build/tools/tavro borders samples/parcel_map.dxf --svg out/regions.svg -o out/regions.csv
xmllint --noout out/regions.svg
# The SVG's own size, in pixels, is the window's.
read -r width height < <(sed -n 's/.*<svg[^>]* width="\([0-9]*\)" height="\([0-9]*\)".*/\1 \2/p' out/regions.svg)
rm -f "$png"
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --force-device-scale-factor=1 \
  --window-size="$width,$height" --screenshot="$(realpath -m "$png")" \
  "file://$(realpath out/regions.svg)" 2>/dev/null
[ -s "$png" ] || { echo "FAIL: Chromium wrote no screenshot"; exit 1; }
# A PNG's width and height are the big-endian words at bytes 16 and 20.
got=$(od -An -tu1 -j16 -N8 "$png" | awk '{ printf "%d %d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
[ "$got" = "$width $height" ] || { echo "FAIL: the screenshot is $got, expected $width $height"; exit 1; }
# A blank or error page compresses to almost nothing; the filled, labelled map does not.
size=$(stat -c %s "$png")
[ "$size" -gt 20000 ] || { echo "FAIL: the screenshot is only $size bytes: nothing drawn?"; exit 1; }
echo "checked: $png (${width}x${height}, $size bytes); look at it to judge the picture"
