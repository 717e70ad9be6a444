#!/usr/bin/env bash
# The About dialog in the real window: opened from the menu bar during a
# game, Escape leaves it open, Enter on its focused button closes it, and the
# game runs on behind it meanwhile.
source "$(dirname "$0")/common.bash"
start_display
start_game

about_window() {
  xdotool search --all --pid "$GAME_PID" --onlyvisible --name '^关于$' 2>/dev/null | head -n1 || true
}

# Start heading up from (100,400): the serpent leaves the field on the 17th
# tick (1.7 s). The About dialog opens straight away, long before that.
keys alt+g n
keys alt+a
ABOUT=""
for i in $(seq 50); do ABOUT=$(about_window); [[ -n "$ABOUT" ]] && break; sleep 0.1; done
[[ -n "$ABOUT" ]] || { cat "$WORK/game.log" >&2; fail "the About dialog did not appear"; }

# (The geometry's shell output also sets WINDOW, so it stays in a subshell.)
size=$(eval "$(xdotool getwindowgeometry --shell "$ABOUT")"; echo "${WIDTH}x${HEIGHT}")
[[ "$size" == 302x257 ]] || fail "About dialog is $size"
[[ "$(xdotool getactivewindow)" == "$ABOUT" ]] || fail "the About dialog is not the active window"
import -window "$ABOUT" "${SMOKE_SHOT_DIR:-$WORK}/about.png" 2>/dev/null || true

# Escape must not close it.
keys Escape
sleep 0.5
[[ -n "$(about_window)" ]] || fail "Escape closed the About dialog"

# Keep it open well past the moment the serpent hits the wall.
sleep 2.5
[[ -n "$(about_window)" ]] || fail "the About dialog closed by itself"

# Its button has the focus: Enter closes it.
keys Return
for i in $(seq 50); do [[ -z "$(about_window)" ]] && break; sleep 0.1; done
[[ -z "$(about_window)" ]] || fail "Enter on the close button did not close the About dialog"
sleep 0.3

# Had the ticks stopped while the dialog was open, the game would still be
# short of the wall now; the red "GAME OVER!" text shows it ran on.
shot_drawing_area "$WORK/after.png"
red=$(convert "$WORK/after.png" -crop 320x70+95+295 +repage -fx 'r>0.85 && g<0.15 && b<0.15' \
      -format '%[fx:int(mean*w*h)]' info:)
(( red > 300 )) || fail "the game did not go on behind the About dialog ($red red pixels)"

# A second showing works the same way: a fresh dialog each time.
keys alt+a
ABOUT=""
for i in $(seq 50); do ABOUT=$(about_window); [[ -n "$ABOUT" ]] && break; sleep 0.1; done
[[ -n "$ABOUT" ]] || fail "the About dialog did not appear a second time"
keys Return
for i in $(seq 50); do [[ -z "$(about_window)" ]] && break; sleep 0.1; done
[[ -z "$(about_window)" ]] || fail "the second About dialog did not close"

quit_game
echo "about smoke test passed"
