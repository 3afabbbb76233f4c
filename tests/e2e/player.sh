# Sourced by the end-to-end scripts: how a test reports failure, who plays,
# and the game folders they play in.

fail() {
  echo "e2e: $*" >&2
  exit 1
}

# Sets `player` to the command prefix that runs a program as an unprivileged
# player: nothing for a normal user; for tests run as root, a uid no account
# uses (in `player_uid`). Files the player must own are chowned by the caller.
choose_player() {
  player=()
  player_uid=$(id -u)
  if ((player_uid == 0)); then
    player_uid=61000
    while getent passwd "$player_uid" >/dev/null || getent group "$player_uid" >/dev/null; do
      player_uid=$((player_uid + 1))
    done
    player=(setpriv --reuid="$player_uid" --regid="$player_uid" --clear-groups)
  fi
}

# Gives the player a copy of the display's cookie in folder $1, which the
# player owns; prints the copy's path.
share_display_cookie() {
  cp "$XAUTHORITY" "$1/.Xauthority"
  chown "$player_uid:$player_uid" "$1" "$1/.Xauthority"
  echo "$1/.Xauthority"
}

# A game folder $1 under the work folder with the game and the archive $2:
# the shipped one ($data_pack) unless given, none when $2 is "none".
game_folder() {
  mkdir -p "$work/$1/data"
  cp "$game_exe" "$work/$1/brevora"
  [[ "${2:-}" == none ]] || cp "${2:-$data_pack}" "$work/$1/data/data.pk"
}

# The messages of the game in folder $1 ($work/$1.txt) say $2.
said() {
  grep -qF -- "$2" "$work/$1.txt" || fail "$1: stderr does not say \"$2\": $(cat "$work/$1.txt")"
}
