# Shared by the smoke tests: the real program in its own X server with a
# small window manager (without one the window never becomes active).
# Every process started here is stopped on exit.

set -euo pipefail
PROGRAM=$(readlink -f "$1")
BUILD_DIR=$(dirname "$PROGRAM")
WORK=$(mktemp -d)
PIDS=()

cleanup() {
  local pid
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

start_display() {
  # -displayfd picks a free display number, so parallel runs never clash.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
  PIDS+=($!)
  local i
  for i in $(seq 100); do [[ -s "$WORK/display" ]] && break; sleep 0.1; done
  [[ -s "$WORK/display" ]] || fail "Xvfb did not start"
  export DISPLAY=":$(cat "$WORK/display")"
  evilwm >"$WORK/wm.log" 2>&1 &
  PIDS+=($!)
  sleep 0.5
}

# Starts the game from its build folder (its sounds resolve there).
start_game() {
  (cd "$BUILD_DIR" && QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy exec "$PROGRAM") >"$WORK/game.log" 2>&1 &
  GAME_PID=$!
  PIDS+=($GAME_PID)
  local i
  WINDOW=""
  for i in $(seq 100); do
    WINDOW=$(xdotool search --pid "$GAME_PID" --onlyvisible --name 'Veltrix' 2>/dev/null | head -n1 || true)
    [[ -n "$WINDOW" ]] && break
    sleep 0.1
  done
  [[ -n "$WINDOW" ]] || { cat "$WORK/game.log" >&2; fail "the game window did not appear"; }
  xdotool windowactivate --sync "$WINDOW" >/dev/null 2>&1 || true
  sleep 0.3
}

title() { xdotool getwindowname "$WINDOW"; }

# Presses keys as a player would: into the active window (events sent to a
# window directly are flagged as synthetic and ignored by toolkits).
keys() { xdotool key --delay 150 "$@"; sleep 0.3; }

# Screenshot of the drawing area: the bottom 502 x 576 of the window.
shot_drawing_area() {
  local out=$1
  import -window "$WINDOW" "$WORK/window.png"
  local height
  height=$(identify -format '%h' "$WORK/window.png")
  convert "$WORK/window.png" -crop "502x576+0+$((height - 576))" +repage "$out"
}

# Number of differing pixels between a crop of one picture and another picture.
differing_pixels() {
  local picture=$1 geometry=$2 expected=$3
  convert "$picture" -crop "$geometry" +repage "$WORK/crop.png"
  compare -metric AE "$WORK/crop.png" "$expected" null: 2>&1 || true
}

quit_game() {
  # 退出(&Q) sits directly on the menu bar.
  keys alt+q
  local i
  for i in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not close from the menu"
  wait "$GAME_PID" || fail "the game ended with an error"
}
