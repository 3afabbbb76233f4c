#!/usr/bin/env bash
# The real game on damaged data, on the display this script is started on
# (xvfb-run): every case either refuses to start with a message naming what is
# wrong, or plays on its fallback and names each damaged piece once, and no
# stored score is lost. Arguments: the game executable, the data set, the
# archive tool, the unscrambling helper and a score table to start from.
set -euo pipefail
game_exe=$1
data_pack=$2
pack_tool=$3
unscramble=$4
stored_table=$5
source "$(dirname "$0")/player.sh"

work=$(mktemp -d)
game_pid=
cleanup() {
  [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
"$pack_tool" extract "$data_pack" "$work/unpacked" >/dev/null

# A game folder $1 whose archive is the shipped one after the command that
# follows has changed the unpacked files in the current folder.
repacked() {
  local name=$1
  shift
  game_folder "$name" none
  cp -r "$work/unpacked" "$work/$name/src"
  (cd "$work/$name/src" && "$@")
  "$pack_tool" create "$work/$name/data/data.pk" "$work/$name/src" >/dev/null
  rm -rf "$work/$name/src"
}
# The game in folder $1 must refuse to start, saying each of the texts after.
refused() {
  local name=$1 status=0
  shift
  (cd "$work/$name" && timeout 20 ./brevora 2>"$work/$name.txt") || status=$?
  ((status == 1)) || fail "$name: exit code $status instead of a refusal: $(cat "$work/$name.txt")"
  said "$name" "cannot start"
  for text in "$@"; do
    said "$name" "$text"
  done
}
# The game in folder $1, run by the command prefix in `runner`, must open its
# window, show the menu and quit with exit code 0 on Escape and Enter,
# saying each of the texts after.
runner=()
plays() {
  local name=$1 status=0 window
  shift
  # The game notes its first menu frame on stderr when asked to.
  (cd "$work/$name" && exec "${runner[@]}" env BREVORA_LAUNCHED_AT="$(date +%s%N)" ./brevora \
    2>"$work/$name.txt") &
  game_pid=$!
  window=$(timeout 20 xdotool search --sync --name '^Brevora$' | head -n1) ||
    fail "$name: no window appeared: $(cat "$work/$name.txt")"
  for _ in $(seq 100); do
    grep -q "first menu frame" "$work/$name.txt" && break
    sleep 0.2
  done
  grep -q "first menu frame" "$work/$name.txt" ||
    fail "$name: waited 20 s for the menu: $(cat "$work/$name.txt")"
  xdotool key Escape
  sleep 0.5
  xdotool key Return
  for _ in $(seq 50); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.2
  done
  wait "$game_pid" || status=$?
  game_pid=
  ((status == 0)) || fail "$name: exit code $status: $(cat "$work/$name.txt")"
  for text in "$@"; do
    said "$name" "$text"
  done
}

# The archive missing, cut in half, or replaced by other bytes.
game_folder missing none
refused missing "no data set (data/data.pk) was found"
game_folder half none
size=$(stat -c %s "$data_pack")
head -c $((size / 2)) "$data_pack" >"$work/half/data/data.pk"
refused half "data.pk\" is damaged: its directory ends after" "\"mui/menu.txt\" was found neither"
game_folder foreign none
head -c "$size" /dev/urandom >"$work/foreign/data/data.pk"
refused foreign "data.pk\" is damaged: it is no archive of this game"

# Cut right after the layout: the rules and layout are whole, the pictures
# after them are gone; the game plays without them and names each.
cut=6
while read -r entry bytes; do
  cut=$((cut + 8 + ${#entry} + bytes))
  [[ "$entry" == 'mui\menu.txt' ]] && break
done < <("$pack_tool" list "$data_pack")
game_folder cut none
head -c "$cut" "$data_pack" >"$work/cut/data/data.pk"
plays cut "data.pk is damaged: its directory ends after" "mui/tex/010.jpg: missing or empty"

# Damaged pictures, font, sprite description and help text.
repacked pictures bash -c 'head -c 5000 /dev/urandom >mui/btn_ok.tga; head -c 3000 /dev/urandom >mui/main.jpg'
plays pictures "mui/btn_ok.tga: not an uncompressed true-colour TGA picture" "mui/main.jpg: Not a JPEG file"
repacked font cp mui/dialogbox.tga mui/font.tga
plays font "mui/font.tga: not a font the game can use"
repacked sprite sed -i 's/^frames 4/frames 0/' dat/flag.spr
plays sprite "dat/flag.spr: frames 0 counts as 1"
repacked help truncate -s 0 mui/help.txt
plays help "mui/help.txt: missing or empty"
# A damaged sound effect and a missing one are silent and named.
repacked sounds bash -c 'head -c 2000 /dev/urandom >snd/flag_set.wav; rm snd/game_won.wav'
plays sounds "snd/flag_set.wav: not a RIFF/WAVE sound" "snd/game_won.wav: missing or empty"

# Rules that fail their checks are named with the rule.
repacked rules sed -i 's/^m_speed .*/m_speed 1e-9/; s/^m_life_src_max_life_reserve .*/m_life_src_max_life_reserve "1e9 1e9 1e9"/' dat/param.txt
refused rules "dat/param.txt: m_speed 1e-09 (must be at least about" "m_life_src_max_life_reserve"

# Random settings and score table: both kept aside as they were, fresh ones
# written at the end.
game_folder saves
head -c 300 /dev/urandom >"$work/saves/data/dx.cfg"
head -c 300 /dev/urandom >"$work/saves/data/scores.tab"
cp "$work/saves/data/dx.cfg" "$work/saves/data/scores.tab" "$work/"
plays saves "dx.cfg\" could not be read; it is kept as" "scores.tab\" could not be read; it is kept as"
cmp -s "$work/dx.cfg" "$work/saves/data/dx.cfg.bad" || fail "the damaged dx.cfg was not kept as it was"
cmp -s "$work/scores.tab" "$work/saves/data/scores.tab.bad" || fail "the damaged scores.tab was not kept"
"$unscramble" "$work/saves/data/dx.cfg" qz | grep -qx "m_window_width 800" || fail "no fresh dx.cfg"
[[ $("$unscramble" "$work/saves/data/scores.tab" ze#81p) == "num 0" ]] || fail "no fresh scores.tab"

# A game folder an unprivileged player cannot write: the stored table is read
# from it and saved into the player's own folder; with no folder of the
# player's either, the game says so and changes nothing.
choose_player
mkdir -p "$work/home"
cookie=$(share_display_cookie "$work/home")
# The player's clean environment keeps what a sanitized build is run with.
kept=(DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS")
for variable in LD_PRELOAD ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
  [[ -z "${!variable:-}" ]] || kept+=("$variable=${!variable}")
done
game_folder readonly
cp "$stored_table" "$work/readonly/data/scores.tab"
chmod -R a-w "$work/readonly"
runner=("${player[@]}" env -i "${kept[@]}" DISPLAY="$DISPLAY" XAUTHORITY="$cookie" HOME="$work/home")
plays readonly
cmp -s "$stored_table" "$work/readonly/data/scores.tab" || fail "the read-only table changed"
diff <("$unscramble" "$stored_table" ze#81p) \
  <("$unscramble" "$work/home/.local/share/brevora/scores.tab" ze#81p) ||
  fail "the table saved in the player's folder differs from the one read"
runner=("${player[@]}" env -i "${kept[@]}" DISPLAY="$DISPLAY" XAUTHORITY="$cookie" HOME=/nonexistent)
plays readonly "the settings and scores cannot be saved in \"/nonexistent/.local/share/brevora\""
cmp -s "$stored_table" "$work/readonly/data/scores.tab" || fail "the read-only table changed"
echo "e2e: every damaged case refused with its reason or played on and named the damage"
