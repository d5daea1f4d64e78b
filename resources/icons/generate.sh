#!/usr/bin/env bash
# Regenerates the small action icons of the server (committed as PNGs, so the
# build does not need ImageMagick). Each icon is a coloured tile with a short mark.
set -euo pipefail
cd "$(dirname "$0")"
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
icon() { # name colour mark [size]
  local size=${4:-32}
  convert -size "${size}x${size}" xc:none -fill "$2" \
    -draw "roundrectangle 1,1 $((size - 2)),$((size - 2)) 6,6" \
    -font "$FONT" -fill white -gravity center -pointsize $((size * 2 / 5)) -annotate +0+0 "$3" \
    -depth 8 -strip "$1.png"
}
icon server      '#1f6fb2' 'QEL' 64
icon skin        '#8e44ad' 'Sk'
icon exit        '#c0392b' 'X'
icon about       '#2c7a7b' 'i'
icon tcp         '#2471a3' 'TCP'
icon mqtt        '#117a65' 'MQ'
icon nsq         '#1e8449' 'NSQ'
icon clear       '#7f8c8d' 'C'
icon firmware    '#b9770e' 'FW'
icon export      '#5b2c6f' 'Ex'
icon update      '#2e86c1' 'Up'
icon updatefirm  '#ca6f1e' 'UF'
icon language    '#34495e' 'A'
icon usbhid      '#6c3483' 'HID'
icon upload      '#148f77' '^'
icon password    '#a93226' '*'
icon savelog     '#566573' 'S'
icon signal      '#9a7d0a' '~'
icon ftest       '#1a5276' 'FT'
icon usbctrl     '#7d3c98' 'USB'
icon backup      '#196f3d' 'B'
icon repair      '#873600' 'R'
icon recordsync  '#21618c' 'Rs'
icon client      '#117a65' 'QEL' 64
