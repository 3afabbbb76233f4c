#!/usr/bin/env bash
# Two copies of the real game in one folder, on the display this script is
# started on (xvfb-run): each plays a game to its end and enters its score
# under a typed name, then the copies quit, in one order and then in the
# other. Every score entered must be in scores.tab afterwards, whichever copy
# quit last. Then a copy enters a score while another program holds the
# table's lock. Arguments: the game executable, the data set, the archive tool,
# the unscrambling helper and a folder for the screenshots.
set -euo pipefail
game_exe=$1
data_pack=$2
pack_tool=$3
unscramble=$4
shots=$5
source "$(dirname "$0")/scenario.sh"
one_pid=
two_pid=
holder_pid=
trap 'kill $one_pid $two_pid $holder_pid 2>/dev/null || true; cleanup' EXIT
start_wm

# The quick rules of the score scenario (the red colony, left alone, wipes out
# the green one within seconds), with no demonstration to take over an idle
# copy's menu while the other one plays.
test_archive "$work/quick.pk" sed -i 's/^m_speed .*/m_speed 100/;
  s/^m_distance_beween_viruses .*/m_distance_beween_viruses 12/;
  s/^m_time_before_demo .*/m_time_before_demo 600000/;
  s/^m_life_src_add_prob .*/m_life_src_add_prob "4 4 4"/; /^m_max_virus_life /d;
  s/^m_life_distribute .*/m_life_distribute "16 16 20"/;
  s/^m_min_life_reserve .*/m_min_life_reserve "220 200 300"/;
  s/^m_max_life_reserve .*/m_max_life_reserve "340 320 450"/;
  s/^m_life_src_min_life_reserve .*/m_life_src_min_life_reserve "40000 40000 120000"/;
  s/^m_life_src_max_life_reserve .*/m_life_src_max_life_reserve "60000 60000 180000"/;
  s/^m_ai_attack_percent .*/m_ai_attack_percent "50 72 100"/; /^m_ai_think_ms /d' dat/param.txt

# Starts a copy in folder $1 with its messages in $work/$2.txt; its process
# and window go into the variables named $2_pid and $2_window.
start_copy() {
  local folder=$1 tag=$2 pid win
  (cd "$work/$folder" && exec env BREVORA_SEED=9 ./brevora 2>"$work/$tag.txt") &
  pid=$!
  win=$(timeout 20 xdotool search --sync --all --pid "$pid" --name '^Brevora$' | head -n1) ||
    fail "$tag: waited 20 s for its window: $(cat "$work/$tag.txt")"
  printf -v "${tag}_pid" '%s' "$pid"
  printf -v "${tag}_window" '%s' "$win"
  use_copy "$tag"
  wait_shot "$tag-menu" "the main menu of copy $tag" 15 menu_shown "$tag-menu"
}
# Brings copy $1 to the front; the checks and clicks that follow are its.
use_copy() {
  local var="${1}_window"
  window=${!var}
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowactivate "$window"
  sleep 0.3
}

asks_name() {
  (($(coloured "$1" 260x30+300+275 "rgb(255,0,0)") > 150))
}
# Copy $1 plays a game of two colonies at Easy to its end and enters the name
# $2 by typing it straight away: the name box has the focus.
play_and_type() {
  local tag=$1 name=$2
  use_copy "$tag"
  click_at 400 211
  wait_shot "$tag-new" "the new-game dialog of copy $tag" 5 bright "$tag-new" 400,160
  click_at 304 451
  wait_shot "$tag-over" "the game-over dialog of copy $tag" 40 asks_name "$tag-over"
  xdotool type --delay 80 "$name"
  xdotool key Return
}
play_and_enter() {
  play_and_type "$@"
  wait_shot "$1-scored" "the menu of copy $1 after its score" 5 menu_shown "$1-scored"
}
quit_copy() {
  local tag=$1 pid_var="${1}_pid"
  use_copy "$tag"
  xdotool key Escape
  wait_shot "$tag-quit" "the quit dialog of copy $tag" 5 bright "$tag-quit" 400,300
  xdotool key Return
  game_pid=${!pid_var}
  game_ends "copy $tag"
}
table_has() {
  local folder=$1 table
  shift
  table=$("$unscramble" "$work/$folder/data/scores.tab" ze#81p) ||
    fail "$folder: scores.tab missing or damaged"
  for name in "$@"; do
    grep -q "^name[0-9] $name\$" <<<"$table" || fail "$folder: $name's score was lost: $table"
  done
}

for order in first-quits-first second-quits-first; do
  game_folder "$order" "$work/quick.pk"
  start_copy "$order" one
  start_copy "$order" two
  play_and_enter one Alpha
  play_and_enter two Bravo
  if [[ "$order" == first-quits-first ]]; then
    quit_copy one
    quit_copy two
  else
    quit_copy two
    quit_copy one
  fi
  table_has "$order" Alpha Bravo
done

# Another program holds the table's lock while a copy enters its score: the
# copy waits no longer than the lock allows, says in its dialog that the
# score is kept for now, still lists it in its Top 7, and ends within a second
# of SIGTERM with its settings saved and the table as it was.
game_folder held "$work/quick.pk"
cp "$work/first-quits-first/data/scores.tab" "$work/held/data/scores.tab"
cp -p "$work/held/data/scores.tab" "$work/stored.tab"
lock=$work/held/data/scores.tab.lock
bash -c 'flock 9 && echo $$ >"$0" && exec sleep 300' "$work/holder.pid" 9>"$lock" &
lock_taken() {
  [[ -s "$work/holder.pid" ]] && ! flock -n "$lock" true
}
wait_for "another program to take the table's lock" 5 lock_taken
holder_pid=$(cat "$work/holder.pid")
start_copy held one
play_and_type one Charlie
# Where the name box stood, in red from the dialog's left edge: the score
# could not be saved; below it in white the folder and the reason.
says_unsaved() {
  (($(coloured "$1" 200x30+82+275 "rgb(255,0,0)") > 150)) &&
    (($(coloured "$1" 480x24+80+346 "rgb(255,255,255)") > 150)) && ! menu_shown "$1"
}
wait_shot one-unsaved "the game-over dialog saying the score is kept" 5 says_unsaved one-unsaved
grep -qE 'another program holds "(.*/)?data/scores\.tab\.lock"' "$work/one.txt" ||
  fail "stderr does not name the held lock: $(cat "$work/one.txt")"
xdotool key Return
wait_shot one-unsaved-menu "the menu after the dialog" 5 menu_shown one-unsaved-menu
# The Top 7 holds the two stored rows and the one kept in the game.
rows() {
  local k
  for k in 0 1 2; do
    (($(coloured "$1" 520x45+100+$((110 + 60 * k)) "rgb(255,255,0)") > 300)) || return 1
  done
  (($(coloured "$1" 520x45+100+290 "rgb(255,255,0)") < 5))
}
click_at 400 376
wait_shot one-top7 "the Top 7 with the score kept in the game" 5 rows one-top7
xdotool key Escape
wait_shot one-top7-closed "the menu" 5 menu_shown one-top7-closed
now_ms() {
  echo $(($(date +%s%N) / 1000000))
}
signalled=$(now_ms)
kill -TERM "$one_pid"
while kill -0 "$one_pid" 2>/dev/null && (($(now_ms) - signalled < 5000)); do
  sleep 0.02
done
took=$(($(now_ms) - signalled))
((took <= 1000)) || fail "the copy took $took ms to end on SIGTERM with the lock held"
status=0
wait "$one_pid" || status=$?
one_pid=
((status == 0)) || fail "exit code $status on SIGTERM with the lock held: $(cat "$work/one.txt")"
[[ -f "$work/held/data/dx.cfg" ]] || fail "no dx.cfg saved on SIGTERM with the lock held"
if ! cmp -s "$work/stored.tab" "$work/held/data/scores.tab" ||
  [[ $(stat -c %Y "$work/stored.tab") != $(stat -c %Y "$work/held/data/scores.tab") ]]; then
  fail "the table changed while another program held its lock"
fi
echo "e2e: two copies in one folder kept both scores, whichever quit last; a held lock kept" \
  "the score in the game and the copy ended $took ms after SIGTERM"
