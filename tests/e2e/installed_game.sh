#!/usr/bin/env bash
# The game as a player gets it: the .deb CPack makes of this build, unpacked
# into a temporary root and played by an unprivileged player on the display
# this script is started on (xvfb-run). Arguments: cpack, the build's CPack
# configuration, the unscrambling helper and a folder for the screenshots.
set -euo pipefail
cpack=$1
config=$2
unscramble=$3
shots=$4

source "$(dirname "$0")/scenario.sh"

root=$work/root
home=$work/home
chmod 755 "$work"
mkdir -p "$home"

# The package: what it holds, what it needs, and metadata a desktop accepts.
"$cpack" -G DEB --config "$config" -B "$work/pkg" >"$work/cpack.txt" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.txt")"
deb=$(echo "$work"/pkg/brevora_*_*.deb)
[[ -f "$deb" ]] || fail "no package was made: $(cat "$work/cpack.txt")"
contents=$(dpkg-deb -c "$deb")
id=org.brevora.Brevora
for path in usr/games/brevora usr/share/games/brevora/data/data.pk \
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
  usr/share/icons/hicolor/256x256/apps/$id.png; do
  grep -q " \./$path\$" <<<"$contents" || fail "the package lacks /$path"
done
[[ "$(dpkg-deb -f "$deb" Section)" == games ]] || fail "the package is not in the games section"
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "the package does not depend on SDL"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry refused"
grep -qx "Exec=/usr/games/brevora" "$root/usr/share/applications/$id.desktop" ||
  fail "the desktop entry does not start /usr/games/brevora"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$work/as.txt" ||
  fail "metainfo refused: $(cat "$work/as.txt")"
icon=$(/usr/bin/convert "$root/usr/share/icons/hicolor/256x256/apps/$id.png" -format %wx%h info:)
[[ "$icon" == 256x256 ]] || fail "the 256 icon is $icon"
# Installed files belong to the system: nobody playing may change them.
chmod -R a-w "$root"

# The player, unprivileged, with a home of its own and the display's cookie.
choose_player
cookie=$(share_display_cookie "$home")

start_wm

# One session: the installed executable started from folder $2 with the
# environment that follows; menu screenshot $1, then Escape and Enter quit.
play() {
  local name=$1 dir=$2
  shift 2
  (cd "$dir" && exec "${player[@]}" env -i DISPLAY="$DISPLAY" XAUTHORITY="$cookie" \
    HOME="$home" PATH=/usr/bin:/bin DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent "$@" \
    "$root/usr/games/brevora" 2>"$work/$name.txt") &
  game_pid=$!
  window=$(timeout 20 xdotool search --sync --name '^Brevora$' | head -n1) ||
    fail "$name: no window appeared: $(cat "$work/$name.txt")"
  wait_shot "$name-screen" "the menu of the $name game" 15 menu_shown "$name-screen"
  /usr/bin/convert "$shots/$name-screen.png" -crop "$(region 800 600 0 0)" +repage "png:$shots/$name.png"
  xdotool key Escape
  wait_shot "$name-quit" "the quit dialog of the $name game" 5 bright "$name-quit" "$(at 400 300)"
  xdotool key Return
  game_ends "$name: $(cat "$work/$name.txt")"
}

# Started from the player's home: the data is found in the install tree and
# the settings land in ~/.local/share/brevora.
play installed "$home"
saved=$home/.local/share/brevora
settings=$("$unscramble" "$saved/dx.cfg" qz) || fail "no settings in $saved"
grep -qx "m_window_width 800" <<<"$settings" || fail "unexpected settings: $settings"
[[ -f "$saved/scores.tab" ]] || fail "no score table in $saved"
! grep -q "cannot be saved" "$work/installed.txt" || fail "$(cat "$work/installed.txt")"

# Started from the installed data folder itself, with a data folder the player
# cannot write: the game plays, says so once, and keeps the files it read.
mkdir -p "$work/locked/brevora"
cp "$saved/dx.cfg" "$saved/scores.tab" "$work/locked/brevora/"
cp -r "$work/locked/brevora" "$work/before"
chmod -R a-w "$work/locked"
play locked "$root/usr/share/games/brevora" XDG_DATA_HOME="$work/locked"
told=$(grep -c "cannot be saved in \"$work/locked/brevora\": Permission denied" "$work/locked.txt" || true)
((told == 1)) || fail "the failed save was not told once: $(cat "$work/locked.txt")"
diff -r "$work/before" "$work/locked/brevora" || fail "a failed save changed the player's files"
# The menu says so in its bottom-left corner, where it is otherwise empty.
for name in installed locked; do
  /usr/bin/convert "$shots/$name.png" -crop 400x40+0+560 +repage "png:$work/$name-corner.png"
done
changed=$(/usr/bin/compare -metric AE -fuzz 8% "$work/installed-corner.png" \
  "$work/locked-corner.png" null: 2>&1 || true)
[[ "${changed%% *}" =~ ^[0-9.e+]+$ ]] || fail "cannot compare the menus: $changed"
(($(printf '%.0f' "${changed%% *}") > 500)) || fail "no notice on the menu ($changed pixels changed)"
echo "e2e: the installed game found its data and kept its files in the player's folder"
