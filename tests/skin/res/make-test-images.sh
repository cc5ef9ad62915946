#!/bin/sh
# Makes the small test images of the skin tests: plain colours that pixel checks can tell apart.
# The generated files are committed; run again only to change them.
set -e
cd "$(dirname "$0")"
solid() { convert -size "$1" "xc:$2" -define png:color-type=2 "PNG24:$3"; }
# Four states of a small button, 40 x 20, opaque.
solid 40x20 'rgb(200,0,0)'   state_normal.png
solid 40x20 'rgb(0,200,0)'   state_hover.png
solid 40x20 'rgb(0,0,200)'   state_pressed.png
solid 40x20 'rgb(128,128,128)' state_disabled.png
# 10 x 10 green with a magenta last column and bottom row: shows which source rectangle is drawn.
convert -size 10x10 'xc:rgb(0,200,0)' -fill 'rgb(255,0,255)' -draw 'rectangle 9,0 9,9' \
        -draw 'rectangle 0,9 9,9' "PNG24:edge.png"
# Large button states, 60 x 40, a 10-pixel transparent margin around a solid core.
core() { convert -size 60x40 xc:none -fill "$1" -draw 'rectangle 10,10 49,29' "PNG32:$2"; }
core 'rgb(200,0,0)'     big_normal.png
core 'rgb(0,200,0)'     big_hover.png
core 'rgb(0,0,200)'     big_pressed.png
core 'rgb(128,128,128)' big_disabled.png
# Check-box cells: empty (blue), ticked (green), filled square (red), 16 x 16 each, with alpha.
convert -size 16x16 'xc:rgb(0,0,255)' 'xc:rgb(0,160,0)' 'xc:rgb(255,0,0)' +append \
        -alpha set "PNG32:checkbox.png"
# A panel: left half cyan, right half yellow, 200 x 100.
convert -size 100x100 'xc:rgb(0,200,200)' 'xc:rgb(240,220,0)' +append "PNG24:panel.png"
