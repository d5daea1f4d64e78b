#!/usr/bin/env bash
# Regenerates the tile icons of the USB console (committed as PNGs, so the build
# does not need ImageMagick): a chip outline in the colour of its state.
set -euo pipefail
cd "$(dirname "$0")"
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
chip() { # name body-colour mark
  convert -size 100x100 xc:none \
    -stroke '#555555' -strokewidth 4 \
    -draw "line 30,6 30,18" -draw "line 50,6 50,18" -draw "line 70,6 70,18" \
    -draw "line 30,82 30,94" -draw "line 50,82 50,94" -draw "line 70,82 70,94" \
    -draw "line 6,30 18,30" -draw "line 6,50 18,50" -draw "line 6,70 18,70" \
    -draw "line 82,30 94,30" -draw "line 82,50 94,50" -draw "line 82,70 94,70" \
    -stroke none -fill "$2" -draw "roundrectangle 18,18 82,82 8,8" \
    -font "$FONT" -fill white -gravity center -pointsize 26 -annotate +0+0 "$3" \
    -depth 8 -strip "$1.png"
}
chip chip_normal  '#2e86c1' 'ON'
chip chip_busy    '#d4ac0d' '...'
chip chip_pass    '#229954' 'OK'
chip chip_fail    '#cb4335' 'NG'
chip chip_disable '#aab7b8' '-'
