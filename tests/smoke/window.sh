#!/usr/bin/env bash
# The real window: title, fixed client area, a game run into the top wall,
# the game-over picture, then Quit from the menu.
source "$(dirname "$0")/common.bash"
ASSETS=$(cd "$(dirname "$0")/../../assets" && pwd)
start_display
start_game

start_caption='Veltrix(多媒体版)    得分:0    第1关'
[[ "$(title)" == "$start_caption" ]] || fail "title is '$(title)'"

eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
[[ "$WIDTH" == 502 ]] || fail "window width $WIDTH"
(( HEIGHT > 576 )) || fail "window height $HEIGHT leaves no room for the menu bar"
xdotool windowsize "$WINDOW" 800 800 2>/dev/null || true
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
[[ "$WIDTH" == 502 ]] || fail "the window could be resized to width $WIDTH"

# Before any game the drawing area is black.
shot_drawing_area "$WORK/before.png"
[[ "$(convert "$WORK/before.png" -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" == 0 ]] \
  || fail "the drawing area is not black before the first game"

# Start: Game menu, then its Start item. Heading up from (100,400) the
# serpent leaves the field on the 17th tick (1.7 s).
keys alt+g n
sleep 3.5
shot_drawing_area "$WORK/over.png"
[[ "$(title)" == "$start_caption" ]] || fail "the caption changed to '$(title)'"

# Red "GAME OVER!" text around (100, 300).
red=$(convert "$WORK/over.png" -crop 320x70+95+295 +repage -fx 'r>0.85 && g<0.15 && b<0.15' \
      -format '%[fx:int(mean*w*h)]' info:)
(( red > 300 )) || fail "no red game-over text ($red red pixels)"
# The food tile at (250, 350), the serpent's column showing only background.
[[ "$(differing_pixels "$WORK/over.png" 25x25+250+350 "$ASSETS/food.png")" == 0 ]] || fail "food tile not shown"
convert "$ASSETS/background.png" -crop 25x150+100+0 +repage "$WORK/bg-column.png"
[[ "$(differing_pixels "$WORK/over.png" 25x150+100+0 "$WORK/bg-column.png")" == 0 ]] \
  || fail "serpent tiles are visible after the game ended"
cp "$WORK/over.png" "${SMOKE_SHOT_DIR:-$WORK}/game-over.png" 2>/dev/null || true

quit_game
echo "window smoke test passed"
