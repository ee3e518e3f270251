#!/usr/bin/env bash
# Sets up, builds and starts the clock. Without a display it starts the
# clock on a virtual display (Xvfb), saves a screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh plain
app=build/clock/Kelvora
# The built components are registered for this user, so that the first
# start asks no registration question.
for module in libQuillet.so libkvbuzzer.so; do
  build/clock/kvregsvr "build/clock/$module" >/dev/null
done

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$app"
fi

# The first free display number from 97 on.
n=${KELVORA_XVFB_DISPLAY:-97}
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
display=:$n
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app_pid=""
trap '[ -n "$app_pid" ] && kill $app_pid 2>/dev/null && wait $app_pid 2>/dev/null; kill $xvfb 2>/dev/null; wait 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
export DISPLAY=$display
"$app" &
app_pid=$!
sleep 3
shot=$PWD/build/screenshot.png
build/tools/screenshot "$shot"
echo "Kelvora runs on the virtual display $display; screenshot saved to $shot"
if [ -n "${KELVORA_SCREENSHOT_ONLY:-}" ]; then
  exit 0
fi
echo "Press Ctrl+C to stop."
wait $app_pid
