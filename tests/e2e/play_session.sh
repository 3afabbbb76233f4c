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

source "$(dirname "$0")/scenario.sh"
game_folder game

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

start_wm

start_game game BREVORA_SEED=2024
cp "$shots/game-menu.png" "$shots/menu.png"
cd "$work/game"
read -r _ geometry <<<"$(xdotool getwindowgeometry "$window" | grep Geometry)"
[[ "$geometry" == "800x600" ]] || fail "window is $geometry, not 800x600"

# Full screen covers the whole 1024 x 768 screen with the menu scaled by 1.28
# (the same shape, so no bars); a click lands on the button drawn under it,
# and leaving puts the window back where it was, at its size.
eval "$(xdotool getwindowgeometry --shell "$window")"
placed="$X,$Y"
sized() {
  xdotool getwindowgeometry "$window" | grep -q "Geometry: $1\$"
}
click_at 300 430
wait_for "the window to fill the 1024 x 768 screen" 5 sized 1024x768
wait_shot full_screen "the menu scaled up in full screen" 5 differs full_screen menu 800x600+0+0 100000
click_at 386 410
wait_shot full_screen_help "the help button drawn in full screen to open help" 5 \
  bright full_screen_help 512,205
xdotool key Escape
wait_shot full_screen_menu "help closed in full screen" 5 eval '! bright full_screen_menu 512,205'
click_at 384 550
wait_for "the window back at 800 x 600 after full screen" 5 sized 800x600
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "${WIDTH}x${HEIGHT}" == "800x600" ]] || fail "after full screen the window is ${WIDTH}x${HEIGHT}"
[[ "$X,$Y" == "$placed" ]] || fail "after full screen the window stands at $X,$Y, not $placed"

# A slow drag of the menu's background: the grabbed point follows the pointer
# exactly, step by step, there and back.
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
window_state_is() {
  xprop -id "$window" WM_STATE | grep -q "window state: $1"
}
xdotool key Return
wait_for "Enter to minimise the window" 5 window_state_is Iconic
xdotool windowmap "$window"
wait_for "the window to come back" 5 window_state_is Normal
wait_shot restored "the menu drawn again" 5 menu_shown restored

# The new-game dialog: its light box covers the dark menu in the middle.
click_at 300 200
wait_shot new_game "the new-game dialog" 5 bright new_game 400,160
bright menu 400,160 && fail "the menu is not the dark picture expected"

# 4 colonies, then OK: a game starts and covers the whole menu.
click_at 196 376
click_at 300 450
wait_shot game "a game on screen after OK" 5 differs game menu 800x600+0+0 100000

# Escape interrupts the game; the menu now offers Continue.
xdotool key Escape
wait_shot menu_kept "the continue button on the menu" 5 differs menu_kept menu 256x43+272+245 1000
click_at 300 260
wait_shot continued "continue to bring the game back" 5 differs continued menu_kept 800x600+0+0 100000

# Back to the menu, Escape asks to quit, Enter confirms.
xdotool key Escape
wait_shot menu_again "the menu" 5 menu_shown menu_again
xdotool key Escape
wait_shot quit "the quit dialog" 5 bright quit 400,300
xdotool key Return
game_ends "after the quit was confirmed"
# A whole session on whole data says nothing, also where there is no sound
# device (as under this virtual display): the game is silent then.
[[ ! -s "$work/game.txt" ]] || fail "the session said on stderr: $(cat "$work/game.txt")"

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
wait_for "the replay's verdict \"replay matches\" in the window" 30 grep -q "replay matches" "$work/replay.txt"
# The verdict stands in green in the middle of the field.
greener() {
  (($(/usr/bin/convert "$shots/$1.png" -crop 240x40+280+260 +repage \
    -format "%[fx:int(1000*(mean.g-mean.r))]" info:) > 70))
}
wait_shot replay_end "the green verdict in the middle of the field" 5 greener replay_end
xdotool key Escape
wait_shot replay_menu "the menu after the replay" 5 menu_shown replay_menu
xdotool key Escape
wait_shot replay_quit "the quit dialog" 5 bright replay_quit 400,300
xdotool key Return
game_ends "after the replay"
echo "e2e: the recorded game replayed to the same checksums headless and in the window"
