#!/usr/bin/env bash
# Saved games in the real window: a game run into the top wall is saved by
# typing a path into the save dialog and the file compared; then a crafted
# file is loaded by typing its name and the game goes on from it.
source "$(dirname "$0")/common.bash"
start_display
start_game

# Types a path into the file dialog that the menu command opened and
# confirms it with Return, as a player would.
choose_file() {
  local path=$1 i dialog=""
  for i in $(seq 50); do
    dialog=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^(Save As|Open)$' 2>/dev/null | head -n1 || true)
    [[ -n "$dialog" ]] && break
    sleep 0.1
  done
  [[ -n "$dialog" ]] || fail "no file dialog came up"
  sleep 0.5
  xdotool type --delay 40 "$path"
  sleep 0.5
  keys Return
  sleep 0.5
}

# Heading up from (100, 400) the head leaves the field on the 17th tick:
# it is saved at (100, -25) with the body behind it.
keys alt+g n
sleep 3.5
mkdir -p "$WORK/saved"
keys alt+g s
choose_file "$WORK/saved/after-wall"   # no extension typed: the dialog adds it
[[ -f "$WORK/saved/after-wall.savl" ]] || fail "no after-wall.savl: $(ls -A "$WORK/saved")"
printf '%s\r\n' 100 0 1 5 250 350 1 100 -25 100 0 100 25 100 50 100 75 >"$WORK/expected.savl"
cmp "$WORK/saved/after-wall.savl" "$WORK/expected.savl" \
  || fail "saved file differs: $(od -c "$WORK/saved/after-wall.savl" | head -n 20)"
[[ -z "$(ls -A "$WORK/saved" | grep -v '^after-wall\.savl$' || true)" ]] || fail "left over: $(ls -A "$WORK/saved")"

# Level 3, heading right along row 100 towards the food at (400, 100), line
# feeds only and a hexadecimal interval: eaten on the 12th tick, which
# writes the running caption with the loaded level.
printf '%s\n' '$64' 0 3 3 400 100 4 100 100 75 100 50 100 >"$WORK/crafted.savl"
keys alt+g r
choose_file "$WORK/crafted.savl"
sleep 2.5
[[ "$(title)" =~ ^Veltrix\(DirectX版\)\ \ \ \ 得分：[1-9][0-9]*\ \ \ \ 第3关$ ]] \
  || fail "the loaded game did not go on: caption '$(title)'"

quit_game
echo "saves smoke test passed"
