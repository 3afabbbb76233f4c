# Sourced by the end-to-end scenarios that play the real game on the display
# they are started on (xvfb-run): a work folder, a window manager, game
# folders of their own, screenshots, pixel checks, clicks and bounded waits.
# The caller sets `shots` (a folder kept after the run) before sourcing.
source "$(dirname "${BASH_SOURCE[0]}")/player.sh"

work=$(mktemp -d)
game_pid=
wm_pid=
window=
mkdir -p "$shots"
rm -f "$shots"/*.png
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent

cleanup() {
  [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null || true
  [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A failure keeps what the screen showed at that moment beside the other
# screenshots.
fail() {
  local saved=
  if [[ -n "${DISPLAY:-}" ]] && xwd -root -silent 2>/dev/null | /usr/bin/convert xwd:- "png:$shots/failure.png" 2>/dev/null; then
    saved=" (the screen at that moment: $shots/failure.png)"
  fi
  echo "e2e: $*$saved" >&2
  exit 1
}

# On a busy machine the window manager can take a while to claim a new
# display, or give up on it; it is started again if it has gone.
start_wm() {
  local deadline=$((SECONDS + 30))
  openbox >"$work/openbox.txt" 2>&1 &
  wm_pid=$!
  until wm_running; do
    if ! kill -0 "$wm_pid" 2>/dev/null; then
      openbox >>"$work/openbox.txt" 2>&1 &
      wm_pid=$!
    fi
    ((SECONDS < deadline)) ||
      fail "waited 30 s for the window manager to take the screen: $(tail -n 3 "$work/openbox.txt")"
    sleep 0.2
  done
}
wm_running() {
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}

# An archive at $1 holding the shipped data after the command that follows
# has changed it in the current folder: rules made quick or pictures made
# heavy for a test, never shipped.
test_archive() {
  local out=$1
  shift
  rm -rf "$work/unpacked"
  "$pack_tool" extract "$data_pack" "$work/unpacked" >/dev/null
  (cd "$work/unpacked" && "$@") || fail "could not change the data set for $out"
  "$pack_tool" create "$out" "$work/unpacked" >/dev/null
}

# Starts the game in folder $1 with the environment assignments that follow
# and waits for its window.
launch() {
  local name=$1
  shift
  (cd "$work/$name" && exec env "$@" ./brevora 2>"$work/$name.txt") &
  game_pid=$!
  window=$(timeout 20 xdotool search --sync --name '^Brevora$' | head -n1) ||
    fail "$name: waited 20 s for the game's window: $(cat "$work/$name.txt")"
}
# The same, then waits for the menu in the screenshot named $1-menu.
start_game() {
  launch "$@"
  wait_shot "$1-menu" "the main menu of $1" 15 menu_shown "$1-menu"
}

# The main menu is on screenshot $1: its version label is light, and no dialog
# covers the dark pane in the middle.
menu_shown() {
  bright "$1" "$(at 700 475)" && ! bright "$1" "$(at 400 160)"
}

# Polls the command that follows every 0.2 s for at most $2 seconds; fails
# naming what it waited for ($1).
wait_for() {
  local what=$1 seconds=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || fail "waited $seconds s for $what"
    sleep 0.2
  done
}

# Takes screenshot $1 until the check that follows holds, for at most $3
# seconds, naming what it waited for ($2).
wait_shot() {
  local name=$1 what=$2 seconds=$3
  shift 3
  local deadline=$((SECONDS + seconds))
  while :; do
    shot "$name"
    "$@" && return 0
    ((SECONDS < deadline)) || fail "waited $seconds s for $what (see $shots/$name.png)"
    sleep 0.1
  done
}

# Waits until the game has ended, then checks its exit code is 0.
game_ends() {
  wait_for "the game to end $1" 15 game_gone
  local status=0
  wait "$game_pid" || status=$?
  game_pid=
  ((status == 0)) || fail "the game ended $1 with exit code $status"
}
game_gone() {
  ! kill -0 "$game_pid" 2>/dev/null
}

# The window's top-left corner on the screen, as "x,y".
window_at() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "$X,$Y"
}
# The window's size against the logical 800 x 600, in percent: points and
# regions below are given in logical units and scaled by it.
scale=100
logical() {
  echo $(($1 * scale / 100))
}
# A point of the window ($1, $2) as a screen position "x,y" for pixel checks.
at() {
  local corner
  corner=$(window_at)
  echo "$((${corner%,*} + $(logical "$1"))),$((${corner#*,} + $(logical "$2")))"
}
# A region of the window (width, height, left, top) as a screen region.
region() {
  local corner
  corner=$(window_at)
  echo "$(logical "$1")x$(logical "$2")+$((${corner%,*} + $(logical "$3")))+$((${corner#*,} + $(logical "$4")))"
}

shot() {
  xwd -root -silent | /usr/bin/convert xwd:- "png:$shots/$1.png"
}
# RGB of one screen pixel ("x,y") of screenshot $1, as "r g b".
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
# Checks for wait_shot: screenshot $1 differs from $2 in region $3 by more
# than $4 pixels, or by at most $4.
differs() {
  (($(differing "$1" "$2" "$3") > $4))
}
matches() {
  (($(differing "$1" "$2" "$3") <= $4))
}
# How many pixels of region $2 of screenshot $1 lie within 15 % of the colour
# $3 (an ImageMagick colour such as "rgb(255,0,0)").
coloured() {
  /usr/bin/convert "$shots/$1.png" -crop "$2" +repage -fuzz 15% -fill black +opaque "$3" \
    -fill white -opaque "$3" -format "%[fx:int(mean*w*h+0.5)]" info:
}

# Screenshot $1 shows the status lines of $2 colonies along the top edge,
# each in its colony's colour, and no more than those.
colours=("rgb(255,0,0)" "rgb(0,255,0)" "rgb(255,255,77)" "rgb(179,255,153)")
status_lines() {
  local k c n
  for k in 0 1 2 3; do
    local region=118x18+$((10 + 120 * k))+6
    if ((k < $2)); then
      (($(coloured "$1" "$region" "${colours[$k]}") > 40)) || return 1
    else
      for c in 0 1 2 3; do
        n=$(coloured "$1" "$region" "${colours[$c]}")
        ((n < 5)) || return 1
      done
    fi
  done
}

# Clicks at a point of the window with the left button, or with button $3.
click_at() {
  xdotool mousemove --window "$window" "$(logical "$1")" "$(logical "$2")"
  sleep 0.15
  xdotool click "${3:-1}"
  sleep 0.15
}
