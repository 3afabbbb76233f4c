# Sourced by the end-to-end scripts: how a test reports failure, and who plays.

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
