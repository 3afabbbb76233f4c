#!/usr/bin/env bash
# One session of the real game on the display this script is started on
# (xvfb-run): arguments are the game executable, the data set, the
# unscrambling helper, a folder for the screenshots and the match runner.
set -euo pipefail
game_exe=$1
data_pack=$2
unscramble=$3
shots=$4
sim=$5

fail() {
  echo "e2e: $*" >&2
  exit 1
}

work=$(mktemp -d)
game_pid=
wm_pid=
cleanup() {
  [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null || true
  [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$shots" "$work/game/data"
cp "$game_exe" "$work/game/brevora"
cp "$data_pack" "$work/game/data/data.pk"
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent

# Refusals come first and need no window: no data (none in the working
# folder, beside the executable or in an install tree), then no display.
mkdir -p "$work/empty"
cp "$game_exe" "$work/empty/brevora"
if (cd "$work/empty" && ./brevora 2>"$work/refusal.txt"); then
  fail "started without its data"
fi
grep -q "cannot start" "$work/refusal.txt" || fail "no clear message without data: $(cat "$work/refusal.txt")"
if (cd "$work/game" && env -u DISPLAY ./brevora 2>"$work/nodisplay.txt"); then
  fail "started without a display"
fi
grep -qi "display" "$work/nodisplay.txt" || fail "no clear message without a display: $(cat "$work/nodisplay.txt")"
# A display that is named but cannot be reached is refused the same way,
# instead of the game running where nobody sees it.
if (cd "$work/game" && DISPLAY=:999 timeout 20 ./brevora 2>"$work/unreachable.txt"); then
  fail "started on a display that cannot be reached"
fi
grep -q "cannot be reached" "$work/unreachable.txt" ||
  fail "no clear message for an unreachable display: $(cat "$work/unreachable.txt")"

openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

shot() {
  xwd -root -silent | /usr/bin/convert xwd:- "png:$shots/$1.png"
}
# RGB of one screen pixel of a screenshot, as "r g b".
pixel() {
  /usr/bin/convert "$shots/$1.png" -format "%[fx:int(255*p{$2}.r)] %[fx:int(255*p{$2}.g)] %[fx:int(255*p{$2}.b)]" info:
}
bright() {
  local r g b
  read -r r g b <<<"$(pixel "$1" "$2")"
  ((r + g + b > 450))
}
# How many pixels of a region (WxH+X+Y) differ between two screenshots.
differing() {
  local count
  # compare exits non-zero when the pictures differ; the count is what matters.
  /usr/bin/convert "$shots/$1.png" -crop "$3" +repage "png:$work/a.png"
  /usr/bin/convert "$shots/$2.png" -crop "$3" +repage "png:$work/b.png"
  count=$(/usr/bin/compare -metric AE -fuzz 8% "$work/a.png" "$work/b.png" null: 2>&1 || true)
  [[ "${count%% *}" =~ ^[0-9.e+]+$ ]] || fail "cannot compare $1 with $2: $count"
  printf '%.0f\n' "${count%% *}"
}
click_at() {
  xdotool mousemove --window "$window" "$1" "$2"
  sleep 0.15
  xdotool click 1
  sleep 0.15
}

cd "$work/game"
BREVORA_SEED=2024 ./brevora 2>"$work/session.txt" &
game_pid=$!
window=$(timeout 20 xdotool search --sync --name '^Brevora$' | head -n1) || fail "no window appeared"
sleep 2.5
shot menu
read -r _ geometry <<<"$(xdotool getwindowgeometry "$window" | grep Geometry)"
[[ "$geometry" == "800x600" ]] || fail "window is $geometry, not 800x600"

# Full screen covers the whole 1024 x 768 screen with the menu scaled by 1.28
# (the same shape, so no bars); a click lands on the button drawn under it,
# and leaving puts the window back where it was, at its size.
eval "$(xdotool getwindowgeometry --shell "$window")"
placed="$X,$Y"
click_at 300 430
sleep 1.5
shot full_screen
read -r _ geometry <<<"$(xdotool getwindowgeometry "$window" | grep Geometry)"
[[ "$geometry" == "1024x768" ]] || fail "full screen is $geometry, not 1024x768"
changed=$(differing menu full_screen 800x600+0+0)
((changed > 100000)) || fail "the menu was not scaled up in full screen ($changed pixels changed)"
click_at 386 410
sleep 0.6
shot full_screen_help
bright full_screen_help 512,205 || fail "the help button drawn in full screen did not open help"
xdotool key Escape
sleep 0.6
click_at 384 550
sleep 1.5
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "${WIDTH}x${HEIGHT}" == "800x600" ]] || fail "after full screen the window is ${WIDTH}x${HEIGHT}"
[[ "$X,$Y" == "$placed" ]] || fail "after full screen the window stands at $X,$Y, not $placed"

# A slow drag of the menu's background: the grabbed point follows the pointer
# exactly, step by step, there and back.
window_at() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "$X,$Y"
}
slow_drag() {
  xdotool mousedown 1
  sleep 0.2
  for _ in 1 2 3 4 5; do
    xdotool mousemove_relative -- "$1" "$2"
    sleep 0.1
  done
  sleep 0.3
  xdotool mouseup 1
  sleep 0.3
}
xdotool mousemove --window "$window" 100 500
sleep 0.3
slow_drag 10 6
[[ $(window_at) == "50,30" ]] || fail "a drag of 50,30 moved the window to $(window_at)"
slow_drag -10 -6
[[ $(window_at) == "0,0" ]] || fail "the drag back left the window at $(window_at)"

# Enter on the menu minimises the window; mapped again, it draws on.
window_state_becomes() {
  for _ in $(seq 50); do
    xprop -id "$window" WM_STATE | grep -q "window state: $1" && return 0
    sleep 0.1
  done
  return 1
}
xdotool key Return
window_state_becomes Iconic || fail "Enter did not minimise the window"
xdotool windowmap "$window"
window_state_becomes Normal || fail "the window did not come back"
sleep 0.5

# The new-game dialog: its light box covers the dark menu in the middle.
click_at 300 200
sleep 0.5
shot new_game
bright new_game 400,160 || fail "the new-game dialog did not open"
bright menu 400,160 && fail "the menu is not the dark picture expected"

# 4 colonies, then OK: a game starts and covers the whole menu.
click_at 196 376
click_at 300 450
sleep 1.5
shot game
changed=$(differing menu game 800x600+0+0)
((changed > 100000)) || fail "no game on screen after OK ($changed pixels changed)"

# Escape interrupts the game; the menu now offers Continue.
xdotool key Escape
sleep 0.8
shot menu_kept
changed=$(differing menu menu_kept 256x43+272+245)
((changed > 1000)) || fail "no continue button on the menu ($changed pixels changed)"
click_at 300 260
sleep 1
shot continued
changed=$(differing menu_kept continued 800x600+0+0)
((changed > 100000)) || fail "continue did not bring the game back ($changed pixels changed)"

# Back to the menu, Escape asks to quit, Enter confirms.
xdotool key Escape
sleep 0.6
xdotool key Escape
sleep 0.6
shot quit
bright quit 400,300 || fail "the quit dialog did not open"
xdotool key Return
for _ in $(seq 50); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after the quit was confirmed"
status=0
wait "$game_pid" || status=$?
game_pid=
((status == 0)) || fail "exit code $status"
# A whole session on whole data says nothing, also where there is no sound
# device (as under this virtual display): the game is silent then.
[[ ! -s "$work/session.txt" ]] || fail "the session said on stderr: $(cat "$work/session.txt")"

# The settings file holds the seven keys in key order, the choice remembered.
settings=$("$unscramble" data/dx.cfg qz) || fail "data/dx.cfg missing or damaged"
keys=$(cut -d' ' -f1 <<<"$settings" | tr '\n' ' ')
[[ "$keys" == "m_autosave m_last_difficult m_last_players_count m_window_height m_window_width x y " ]] ||
  fail "unexpected settings: $settings"
grep -qx "m_last_players_count 2" <<<"$settings" || fail "4 colonies not remembered: $settings"
grep -qx "m_window_width 800" <<<"$settings" || fail "window width not saved: $settings"
[[ -f data/scores.tab ]] || fail "data/scores.tab not written"
echo "e2e: session played and ended with exit code 0"

# The game played above was recorded as it was left; it replays to the same
# checksums headless and in the window at 4x, which ends on the verdict.
replay=$(find data/replays -name '*.replay' 2>/dev/null | sort | tail -n1)
[[ -n "$replay" ]] || fail "the game played was not recorded in data/replays/"
"$sim" --data . --replay "$replay" >"$work/check.txt" 2>&1 ||
  fail "the recorded game does not replay headless: $(cat "$work/check.txt")"
head -n 3 "$replay" >"$work/cut.replay"
if ./brevora --replay "$work/cut.replay" 2>"$work/cut.txt"; then
  fail "a cut replay was played"
fi
grep -q "cannot be played: cut short" "$work/cut.txt" || fail "no clear refusal: $(cat "$work/cut.txt")"
sed -i 's/^speed .*/speed 4/' data/prefs.cfg
./brevora --replay "$replay" >"$work/replay.txt" 2>&1 &
game_pid=$!
window=$(timeout 20 xdotool search --sync --name '^Brevora$' | head -n1) || fail "no window for the replay"
for _ in $(seq 150); do
  grep -q "replay matches" "$work/replay.txt" && break
  sleep 0.2
done
grep -q "replay matches" "$work/replay.txt" || fail "the replay in the window did not match: $(cat "$work/replay.txt")"
sleep 0.3
shot replay_end
# The verdict stands in green in the middle of the field.
greener=$(/usr/bin/convert "$shots/replay_end.png" -crop 240x40+280+260 +repage \
  -format "%[fx:int(1000*(mean.g-mean.r))]" info:)
((greener > 70)) || fail "no green verdict in the middle of the field ($greener)"
xdotool key Escape
sleep 0.6
xdotool key Escape
sleep 0.6
xdotool key Return
for _ in $(seq 50); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after the replay"
status=0
wait "$game_pid" || status=$?
game_pid=
((status == 0)) || fail "exit code $status after the replay"
echo "e2e: the recorded game replayed to the same checksums headless and in the window"
