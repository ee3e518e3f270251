#!/usr/bin/env bash
# Tries the package built by scripts/package.sh on this machine (as root):
# installs it with apt-get (which brings its dependencies), creates a user
# who never ran Kelvora, starts the clock for that user on a virtual display,
# opens the help and the settings, ends the clock with --quit, removes the
# package and checks that none of its files stayed. Screenshots go to
# build/package/try-*.png.
#   scripts/try-package.sh [DISPLAY_NUMBER]     (default 95)
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "try-package: run as root (it installs a package and adds a user)" >&2; exit 2; }
deb=$(ls "$PWD"/build/package/kelvora_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "try-package: no package; run scripts/package.sh first" >&2; exit 2; }
display=:${1:-95}
out=$PWD/build/package
user=kvtry$$
xvfb=

cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  id "$user" >/dev/null 2>&1 && userdel -r "$user" 2>/dev/null || true
}
trap cleanup EXIT

step() { echo; echo "\$ $*"; "$@"; }

step env DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb"
dpkg -L kelvora >"$out/installed-files.txt"

step sh -c 'MANWIDTH=80 man -P cat kelvora | head -8'
useradd -m -s /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
echo "new user $user, home $home (empty: $(ls -A "$home" | wc -l) entries besides the skeleton)"
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
# The user's session as a login would give it, without a runtime folder
# (the clock then makes its own under /tmp).
as_user() { runuser -u "$user" -- env -i HOME="$home" USER="$user" PATH=/usr/bin:/bin DISPLAY="$display" LANG=ja_JP.UTF-8 "$@"; }

step as_user Kelvora --version
as_user Kelvora >"$out/try-clock.log" 2>&1 &
clock=$!
sleep 5
DISPLAY=$display build/tools/screenshot "$out/try-1-clock.png"
step as_user Kelvora --settings
sleep 2
# The settings dialog's help menu, first item: the help in Quillet.
DISPLAY=$display xdotool key --clearmodifiers alt+h
sleep 1
DISPLAY=$display xdotool key Return
sleep 3
DISPLAY=$display build/tools/screenshot "$out/try-2-help.png"
# The time-signal page: the PC-buzzer check box is enabled when the buzzer
# component could be created.
step as_user Kelvora --settings
sleep 2
DISPLAY=$display xdotool key --clearmodifiers alt+s
sleep 1
DISPLAY=$display build/tools/screenshot "$out/try-3-signal.png"
echo "registrations the user sees:"
as_user /usr/lib/kelvora/kvregsvr --list
step as_user Kelvora --quit
wait "$clock" && echo "clock ended with status 0" || echo "clock ended with status $?"
echo "clock's output:"; cat "$out/try-clock.log"
echo "user's files:"; (cd "$home" && find .config .local -type f 2>/dev/null | sort) || true

step env DEBIAN_FRONTEND=noninteractive apt-get remove -y kelvora
left=0
while read -r path; do
  [ -e "$path" ] && [ ! -d "$path" ] && { echo "left behind: $path"; left=1; }
done <"$out/installed-files.txt"
for dir in /usr/lib/kelvora /usr/share/Kelvora /usr/share/doc/kelvora; do
  [ -e "$dir" ] && { echo "left behind: $dir"; left=1; }
done
[ $left = 0 ] && echo "removed: no file of the package is left"
# dpkg keeps the removal script CPack writes (ldconfig) until purged.
step dpkg --purge kelvora
exit $left
