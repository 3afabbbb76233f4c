#!/usr/bin/env bash
# A bot program steers the player's colony in the real window (brevora --bot)
# on the display this script is started on (xvfb-run): arguments are the game
# executable, the data set, a folder for the screenshots, the match runner and
# the sample bot in Python. The bot's flags are set on the field at 4x, a
# click of the player's is refused with a note, and the game's replay checks
# headless without the bot. A bot that never reads its input is stopped and
# named while the game plays on.
set -euo pipefail
game_exe=$1
data_pack=$2
shots=$3
sim=$4
bot=$5

source "$(dirname "$0")/scenario.sh"
game_folder game

# A command that cannot be split into words is refused before any window.
if (cd "$work/game" && ./brevora --bot "python3 'unclosed" 2>"$work/broken.txt"); then
  fail "started with a bot command that cannot be split"
fi
grep -q "cannot be used: " "$work/broken.txt" || fail "no clear refusal: $(cat "$work/broken.txt")"

start_wm
(cd "$work/game" && exec ./brevora --bot "python3 $bot" 2>"$work/game.txt") &
game_pid=$!
window=$(timeout 20 xdotool search --sync --name '^Brevora$' | head -n1) ||
  fail "waited 20 s for the game's window: $(cat "$work/game.txt")"
wait_shot menu "the main menu" 15 menu_shown menu
click_at 400 211
wait_shot new "the new-game dialog" 5 bright new 400,160
click_at 304 451
wait_shot playing "the game steered by the bot" 10 status_lines playing 2
xdotool windowactivate --sync "$window"
xdotool key plus
sleep 0.3
xdotool key plus
sleep 6

# The player's click sets nothing while the bot steers, and says so beside
# the pointer in pale yellow.
click_at 400 300
shot refused
(($(coloured refused 200x40+400+270 "rgb(255,255,153)") > 20)) ||
  fail "no note that the bot steers beside the click (see $shots/refused.png)"

xdotool key q
sleep 0.5
xdotool key Return
replay_saved() {
  replay=$(find "$work/game/data/replays" -name '*.replay' 2>/dev/null | head -n1)
  [[ -n "$replay" ]]
}
wait_for "the resigned game's replay in data/replays/" 15 replay_saved
shot over
grep -q '^set ' "$replay" || fail "the bot set no flag in the recorded game: $(head -n 20 "$replay")"
if grep -q "bot of colony" "$work/game.txt"; then
  fail "the bot was stopped: $(cat "$work/game.txt")"
fi
"$sim" --data "$work/game" --replay "$replay" >"$work/check.txt" 2>&1 ||
  fail "the bot's game does not replay headless: $(cat "$work/check.txt")"
# The game ends its bot with it.
kill "$game_pid"
game_ends "on SIGTERM"
if pgrep -f "python3 $bot" >/dev/null; then
  fail "the bot outlived the game"
fi

# A bot that never reads its input (it only sleeps) cannot hold the window:
# the game plays on at 4x, no tick waits on the bot, the bot is stopped and
# named on stderr, and the game is resigned and quit as usual.
(cd "$work/game" && exec env BREVORA_TICK_LOG="$work/ticks.log" ./brevora --bot "sleep 3599" \
  2>"$work/deaf.txt") &
game_pid=$!
window=$(timeout 20 xdotool search --sync --all --pid "$game_pid" --name '^Brevora$' | head -n1) ||
  fail "waited 20 s for the game's window: $(cat "$work/deaf.txt")"
wait_shot deaf-menu "the main menu" 15 menu_shown deaf-menu
click_at 400 211
wait_shot deaf-new "the new-game dialog" 5 bright deaf-new 400,160
click_at 304 451
wait_shot deaf-playing "the game of the bot that never reads" 10 status_lines deaf-playing 2
xdotool windowactivate --sync "$window"
xdotool key plus
sleep 0.3
xdotool key plus
# It never answers, so the bank runs out on every state: it is stopped after
# its tenth late answer, or at once should its input have filled before.
bot_named() {
  grep -q "^brevora: bot of colony 0: stopped after " "$work/deaf.txt"
}
wait_for "the bot that never reads to be stopped and named on stderr" 20 bot_named
! pgrep -f "^sleep 3599" >/dev/null || fail "the stopped bot still runs"
ticks_from() {
  tail -n +"$1" "$work/ticks.log" | grep -q " $2\$"
}
from=$(($(wc -l <"$work/ticks.log") + 1))
wait_for "the game to play on at 4x after the bot was stopped" 5 ticks_from "$from" 4
# No tick of the game at 4x (the last field: the updates it played) waited
# on the bot.
longest=$(awk '$6 == 4 && $2 > most { most = $2 } END { print most + 0 }' "$work/ticks.log")
((longest < 1000000)) || fail "a tick at 4x took $longest us: the window waited on the bot"
xdotool key q
wait_shot deaf-resign "the question to resign" 5 bright deaf-resign 250,250
xdotool key Return
# The game-over dialog, its result line in white above the score, goes on
# Return.
says_result() {
  (($(coloured "$1" 640x32+80+108 "rgb(255,255,255)") > 150))
}
wait_shot deaf-over "the game-over dialog" 10 says_result deaf-over
xdotool key Return
wait_shot deaf-menu-again "the menu after the game" 5 menu_shown deaf-menu-again
xdotool key Escape
wait_shot deaf-quit "the quit dialog" 5 bright deaf-quit 400,300
xdotool key Return
game_ends "after the game of the bot that never reads"
echo "e2e: the bot steered $(grep -c '^set ' "$replay") flags in the window and its game replays;" \
  "a bot that never read was stopped while the game played on:" \
  "$(grep -m1 "bot of colony 0: stopped" "$work/deaf.txt")"
