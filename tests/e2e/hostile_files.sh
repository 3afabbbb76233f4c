#!/usr/bin/env bash
# The real game and its match runner given files that are not what they seem,
# on the display this script is started on (xvfb-run): a FIFO in place of
# every file they read is refused at once and named, never waited on; the
# game ends on SIGTERM as on a close, saving its files; a score table the
# player cannot read is never written over; a window size far beyond the
# desktop is cut down to it; FIFOs at the old names of the temporaries of a
# save are left alone. Arguments: the game executable, the data set,
# the archive tool, the unscrambling helper, the match runner and a score
# table to start from.
set -euo pipefail
game_exe=$1
data_pack=$2
pack_tool=$3
unscramble=$4
sim_exe=$5
stored_table=$6
source "$(dirname "$0")/player.sh"

work=$(mktemp -d)
game_pid=
cleanup() {
  [[ -n "$game_pid" ]] && kill -KILL "$game_pid" 2>/dev/null || true
  chmod -R u+rw "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
# A sanitized build starts several times slower; the bound is for a refusal
# that does not wait, not for the machine's speed.
limit_ms=1000
[[ -z "${ASAN_OPTIONS:-}" ]] || limit_ms=4000

now_ms() {
  echo $(($(date +%s%N) / 1000000))
}
# Runs the command that follows in folder $1 with its stderr in $work/$1.txt;
# it must end by itself within the limit with exit code $2. What it prints
# goes to $work/$1.txt.
ends_at_once() {
  local name=$1 expected=$2 status=0 started
  shift 2
  started=$(now_ms)
  (cd "$work/$name" && timeout 10 "$@" >"$work/$name.txt" 2>&1) || status=$?
  local took=$(($(now_ms) - started))
  ((status != 124)) || fail "$name: still waiting after 10 s: $(cat "$work/$name.txt")"
  ((status == expected)) || fail "$name: exit code $status, not $expected: $(cat "$work/$name.txt")"
  ((took <= limit_ms)) || fail "$name: took $took ms to refuse: $(cat "$work/$name.txt")"
}
# Starts the game in folder $1 (the command prefix in `runner` first) and
# waits for its menu's first frame; the texts after $1 must be on stderr
# within the limit of its start.
runner=()
starts() {
  local name=$1 started
  shift
  started=$(now_ms)
  (cd "$work/$name" && exec "${runner[@]}" env BREVORA_LAUNCHED_AT="$(date +%s%N)" ./brevora \
    2>"$work/$name.txt") &
  game_pid=$!
  for text in "$@"; do
    until grep -qsF -- "$text" "$work/$name.txt"; do
      (($(now_ms) - started <= limit_ms)) ||
        fail "$name: stderr did not say \"$text\" within $limit_ms ms: $(cat "$work/$name.txt")"
      sleep 0.05
    done
  done
  for _ in $(seq 200); do
    grep -qs "first menu frame" "$work/$name.txt" && return 0
    kill -0 "$game_pid" 2>/dev/null || fail "$name: the game ended: $(cat "$work/$name.txt")"
    sleep 0.1
  done
  fail "$name: waited 20 s for the menu: $(cat "$work/$name.txt")"
}
# SIGTERM (or the signal $2 names) ends the game as a close does: at once,
# exit code 0, files saved.
terminated() {
  local name=$1 signal=${2:-TERM} status=0
  kill -"$signal" "$game_pid"
  for _ in $(seq 20); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "$name: still running 2 s after SIG$signal"
  wait "$game_pid" || status=$?
  game_pid=
  ((status == 0)) || fail "$name: exit code $status after SIG$signal: $(cat "$work/$name.txt")"
  [[ -f "$work/$name/data/dx.cfg" || -p "$work/$name/data/dx.cfg" ]] ||
    fail "$name: no dx.cfg saved on SIG$signal"
}

# A FIFO in place of each file the game keeps: named, left as it is, and the
# game plays on with the fallback.
for file in scores.tab dx.cfg prefs.cfg; do
  name=fifo-${file%.*}
  game_folder "$name"
  mkfifo "$work/$name/data/$file"
  starts "$name" "$file"
  terminated "$name"
  [[ -p "$work/$name/data/$file" ]] || fail "$name: the FIFO $file was replaced"
done

# The terminal the game was started from closing (SIGHUP) is a close too.
game_folder hangup
starts hangup
terminated hangup HUP

# A FIFO as the archive refuses the start; as a loose file the game reads
# (the help text, taken out of the archive) it is named and the game plays.
game_folder fifo-archive none
mkfifo "$work/fifo-archive/data/data.pk"
ends_at_once fifo-archive 1 ./brevora
said fifo-archive "data.pk"
"$pack_tool" extract "$data_pack" "$work/unpacked" >/dev/null
rm "$work/unpacked/mui/help.txt"
"$pack_tool" create "$work/nohelp.pk" "$work/unpacked" >/dev/null
game_folder fifo-loose "$work/nohelp.pk"
mkdir -p "$work/fifo-loose/mui"
mkfifo "$work/fifo-loose/mui/help.txt"
starts fifo-loose "mui/help.txt"
terminated fifo-loose

# A FIFO as a replay: refused by the game's command line, by its menu (R plays
# the newest replay of the save folder; the menu still answers afterwards) and
# by the match runner, alone and in a folder of replays.
game_folder fifo-replay
mkfifo "$work/fifo-replay/game.replay"
ends_at_once fifo-replay 2 ./brevora --replay game.replay
said fifo-replay "game.replay"
ends_at_once fifo-replay 2 "$sim_exe" --data . --replay game.replay
said fifo-replay "game.replay"
mkdir "$work/fifo-replay/replays"
mkfifo "$work/fifo-replay/replays/x.replay"
ends_at_once fifo-replay 2 "$sim_exe" --data . --replay-dir replays
said fifo-replay "x.replay"
mkdir -p "$work/fifo-replay/data/replays"
mkfifo "$work/fifo-replay/data/replays/brevora-2099-01-01-000000.replay"
starts fifo-replay
window=$(timeout 20 xdotool search --sync --all --pid "$game_pid" --name '^Brevora$' | head -n1)
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key r
sleep 0.5
kill -0 "$game_pid" 2>/dev/null || fail "fifo-replay: the game ended on R: $(cat "$work/fifo-replay.txt")"
terminated fifo-replay

# A table the player cannot read is named and never written over, though a
# game's worth of settings is saved beside it.
choose_player
mkdir -p "$work/home"
cookie=$(share_display_cookie "$work/home")
kept=(DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS")
for variable in LD_PRELOAD ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
  [[ -z "${!variable:-}" ]] || kept+=("$variable=${!variable}")
done
game_folder locked
cp "$stored_table" "$work/locked/data/scores.tab"
chown -R "$player_uid:$player_uid" "$work/locked"
chmod 000 "$work/locked/data/scores.tab"
runner=("${player[@]}" env -i "${kept[@]}" DISPLAY="$DISPLAY" XAUTHORITY="$cookie" HOME="$work/home")
starts locked "scores.tab"
terminated locked
runner=()
cmp -s "$stored_table" "$work/locked/data/scores.tab" || fail "locked: the unreadable table changed"
[[ $(stat -c %a "$work/locked/data/scores.tab") == 0 ]] || fail "locked: the table was replaced"

# A window asked for at 16384 x 16384 opens no larger than the desktop.
game_folder huge
cp "$work/fifo-scores/data/dx.cfg" "$work/huge/data/dx.cfg"
"$unscramble" "$work/huge/data/dx.cfg" qz m_window_width 16384 m_window_height 16384 ||
  fail "huge: cannot write the settings"
starts huge
window=$(timeout 20 xdotool search --sync --all --pid "$game_pid" --name '^Brevora$' | head -n1)
eval "$(xdotool getwindowgeometry --shell "$window")"
((WIDTH <= 1024 && HEIGHT <= 768)) || fail "huge: the window is $WIDTH x $HEIGHT"
terminated huge
# FIFOs at the names older saves gave their temporaries: the game saves every
# file through temporaries of its own, never opens the FIFOs, and ends within
# the bound on SIGTERM and on a quit; the FIFOs stay and nothing else is left.
saved_beside_fifos() {
  local name=$1 file
  for file in scores.tab dx.cfg prefs.cfg; do
    [[ -p "$work/$name/data/$file.tmp" ]] || fail "$name: the FIFO $file.tmp was replaced"
    [[ -f "$work/$name/data/$file" && ! -L "$work/$name/data/$file" ]] ||
      fail "$name: $file was not saved beside the FIFO"
  done
  [[ -z "$(find "$work/$name/data" -name '*.tmp-*')" ]] ||
    fail "$name: temporaries left: $(find "$work/$name/data" -name '*.tmp-*')"
}
for ending in term quit; do
  name=fifo-temps-$ending
  game_folder "$name"
  for file in scores.tab dx.cfg prefs.cfg; do
    mkfifo "$work/$name/data/$file.tmp"
  done
  starts "$name"
  if [[ $ending == term ]]; then
    terminated "$name"
  else
    window=$(timeout 20 xdotool search --sync --all --pid "$game_pid" --name '^Brevora$' | head -n1)
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    xdotool key Escape
    sleep 0.5
    xdotool key Return
    for _ in $(seq 20); do
      kill -0 "$game_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$game_pid" 2>/dev/null && fail "$name: still running 2 s after the quit was confirmed"
    wait "$game_pid" || fail "$name: exit code $? after a quit: $(cat "$work/$name.txt")"
    game_pid=
  fi
  saved_beside_fifos "$name"
done

# The archive tool does the same: it creates an archive beside a FIFO at
# OUT.pk.tmp and extracts one beside a FIFO at dat/param.txt.tmp.
mkdir -p "$work/fifo-pack/in/dat" "$work/fifo-pack/out/dat"
cp "$work/unpacked/dat/param.txt" "$work/fifo-pack/in/dat/param.txt"
mkfifo "$work/fifo-pack/rules.pk.tmp" "$work/fifo-pack/out/dat/param.txt.tmp"
ends_at_once fifo-pack 0 "$pack_tool" create rules.pk in
ends_at_once fifo-pack 0 "$pack_tool" extract rules.pk out
[[ -p "$work/fifo-pack/rules.pk.tmp" && -p "$work/fifo-pack/out/dat/param.txt.tmp" ]] ||
  fail "fifo-pack: a FIFO was replaced"
cmp -s "$work/fifo-pack/in/dat/param.txt" "$work/fifo-pack/out/dat/param.txt" ||
  fail "fifo-pack: the rules did not come back out of the archive"
echo "e2e: FIFOs refused at once, SIGTERM saved and ended, an unreadable table kept, the window cut to the desktop, saves made beside FIFOs"
