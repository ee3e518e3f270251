#!/usr/bin/env bash
# A scripted walk-through of the real program on a virtual X display, as a
# user would go: start, dock, jump, drag, each item of the clock's menu,
# both pages of the settings dialog, and every way to end the program.
#   scripts/desktop-check.sh [bare|openbox|all]      (default: all)
# bare: Xvfb without a window manager; openbox: Xvfb with openbox and a
# tint2 panel (taskbar and tray). Each start gets its own HOME and XDG
# folders. It fails on a message box, a parked settings dialog that shows
# any pixel (or, under a window manager, loses its taskbar entry), a clock
# with a taskbar entry or away from its corner, a process left over, or a
# settings file not written. Screenshots go to build/desktop-check/.
# Needs a plain build (scripts/build.sh plain) and what scripts/setup.sh
# installs.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
app=$root/build/clock/Kelvora
shots=$root/build/desktop-check
which=${1:-all}
case "$which" in bare|openbox|all) ;; *) echo "usage: $0 [bare|openbox|all]" >&2; exit 2 ;; esac
for tool in Xvfb xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "desktop-check: $tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done
[ -x "$app" ] || { echo "desktop-check: build the program first (scripts/build.sh plain)" >&2; exit 2; }
mkdir -p "$shots"

failures=0
tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

say() { printf '%s\n' "$*"; }
fail() { say "FAIL [$desk/$case] $*"; failures=$((failures + 1)); shot "fail-$(date +%s%N)"; }
ok() { say "ok   [$desk/$case] $*"; }
shot() { "$root/build/tools/screenshot" "$shots/$desk-$case-$1.png" 2>/dev/null; }

# ---- the display and its desktop

start_display() {
  local n=${KELVORA_CHECK_DISPLAY:-90}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=:$n
  for _ in $(seq 100); do xprop -root >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "desktop-check: Xvfb $DISPLAY did not start" >&2
  exit 2
}

# ---- windows of the program

# Every window of the program, mapped or not.
program_windows() { xdotool search --class Kelvora 2>/dev/null; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
title() { xprop -id "$1" WM_NAME 2>/dev/null | sed -n 's/^WM_NAME([A-Z_0-9]*) = "\(.*\)"$/\1/p'; }
# x y width height of a window on the screen.
geometry() {
  xwininfo -id "$1" 2>/dev/null |
    awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}
# The clock: the viewable window without a title that is larger than an
# icon.
clock_window() {
  for w in $(program_windows); do
    viewable "$w" || continue
    [ -z "$(title "$w")" ] || continue
    read -r _ _ cw _ <<<"$(geometry "$w")"
    [ "$cw" -gt 32 ] && { echo "$w"; return; }
  done
}
dialog_window() {
  for w in $(program_windows); do [ "$(title "$w")" = "Kelvora Ver2.0" ] && { echo "$w"; return; }; done
}
# A viewable window of the program with this exact title.
window_titled() {
  for w in $(program_windows); do viewable "$w" && [ "$(title "$w")" = "$1" ] && { echo "$w"; return; }; done
}
wait_for() { # seconds command...
  local limit=$1; shift
  for _ in $(seq $((limit * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}
# Waits until a condition written as shell text holds.
wait_until() { # seconds condition
  local limit=$1 condition=$2
  for _ in $(seq $((limit * 10))); do eval "$condition" && return 0; sleep 0.1; done
  return 1
}
# The tray icon: a small viewable window of the program.
tray_icon() {
  for w in $(program_windows); do
    viewable "$w" || continue
    read -r _ _ tw th <<<"$(geometry "$w")"
    [ "$tw" -le 32 ] && [ "$th" -le 32 ] && { echo "$w"; return; }
  done
}
has_window_titled() { [ -n "$(window_titled "$1")" ]; }
no_window_titled() { [ -z "$(window_titled "$1")" ]; }
work_area() { # x y width height
  if xprop -root _NET_WORKAREA 2>/dev/null | grep -q '='; then
    xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | awk '{print $1, $2, $3, $4}'
  else
    echo 0 0 1280 800
  fi
}
# The corner (0 top right, 1 bottom right, 2 bottom left, 3 top left) the
# clock sits in, or "none".
clock_corner() {
  local c g
  c=$(clock_window); [ -n "$c" ] || { echo none; return; }
  read -r x y w h <<<"$(geometry "$c")"
  read -r ax ay aw ah <<<"$(work_area)"
  local right=$((ax + aw - w)) bottom=$((ay + ah - h))
  if [ "$x" = "$right" ] && [ "$y" = "$ay" ]; then echo 0
  elif [ "$x" = "$right" ] && [ "$y" = "$bottom" ]; then echo 1
  elif [ "$x" = "$ax" ] && [ "$y" = "$bottom" ]; then echo 2
  elif [ "$x" = "$ax" ] && [ "$y" = "$ay" ]; then echo 3
  else echo none; fi
}
in_corner() { [ "$(clock_corner)" != none ]; }

# ---- the checks every step makes

no_message_box() {
  local w
  w=$(window_titled Kelvora)
  if [ -n "$w" ]; then
    fail "a message box shows: $(xprop -id "$w" _NET_WM_NAME 2>/dev/null | cut -c1-120)"
    focus "$w"; xdotool key Return
    return 1
  fi
}

# The parked dialog shows nothing: unmapped or iconified, or wholly off the
# screen; under a window manager it keeps its taskbar entry.
dialog_parked() {
  local d
  d=$(dialog_window)
  [ -n "$d" ] || { fail "no settings dialog"; return 1; }
  if viewable "$d"; then
    read -r x y w h <<<"$(geometry "$d")"
    if [ $((x + w)) -gt 0 ] && [ $((y + h)) -gt 0 ] && [ "$x" -lt 1280 ] && [ "$y" -lt 800 ]; then
      fail "the parked settings dialog shows at $x,$y (${w}x$h)"
      return 1
    fi
  fi
  if [ "$desk" = openbox ]; then
    xprop -id "$d" WM_STATE 2>/dev/null | grep -q 'window state: Iconic' || { fail "the parked dialog is not iconified"; return 1; }
    xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$d")" || { fail "the parked dialog has no taskbar entry"; return 1; }
  fi
}

clock_without_taskbar_entry() {
  local c
  c=$(clock_window)
  [ -n "$c" ] || { fail "no clock window"; return 1; }
  [ "$desk" = openbox ] || return 0
  xprop -id "$c" WM_TRANSIENT_FOR 2>/dev/null | grep -q 'window id' && { fail "the clock names an owner window (WM_TRANSIENT_FOR)"; return 1; }
  xprop -id "$c" _NET_WM_STATE | grep -q SKIP_TASKBAR || { fail "the clock has a taskbar entry"; return 1; }
}

# ---- one start of the program

new_home() {
  home=$tmp/$desk-$case
  mkdir -p "$home/home" "$home/config/Kelvora" "$home/data" "$home/runtime" "$home/cache"
  chmod 700 "$home/runtime"
  export HOME=$home/home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
  export XDG_RUNTIME_DIR=$home/runtime XDG_CACHE_HOME=$home/cache
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM SESSION_MANAGER
  settings=$XDG_CONFIG_HOME/Kelvora/Kelvora.ini
  for module in libQuillet.so libkvbuzzer.so; do
    "$root/build/clock/kvregsvr" "$root/build/clock/$module" >/dev/null
  done
}

start_program() {
  new_home
  "$app" >"$home/stderr.txt" 2>&1 &
  pid=$!
  pids+=($pid)
  if ! wait_for 15 in_corner; then
    fail "the clock did not dock (corner: $(clock_corner))"
    return 1
  fi
  # The start's own checks have run (the placement is looked at after 1.5 s).
  sleep 2.5
  no_message_box
  dialog_parked
  clock_without_taskbar_entry
  grep -v '音声出力装置' "$home/stderr.txt" | grep -q . && say "     stderr: $(grep -v '音声出力装置' "$home/stderr.txt" | head -3)"
  return 0
}

# Waits for the program to end; fails when it is still there.
ended() {
  if wait_until 10 '! kill -0 "$pid" 2>/dev/null'; then
    wait "$pid" 2>/dev/null
    ok "ended $1"
  else
    fail "still running after $1"
    kill -9 "$pid" 2>/dev/null
    return 1
  fi
  if grep -q '^MainLeft=' "$settings" 2>/dev/null && grep -q '^UpperRowFormat=' "$settings"; then
    ok "settings written"
  else
    fail "the settings file was not written after $1"
  fi
  local left
  left=$(program_windows | while read -r w; do viewable "$w" && echo "$w"; done)
  [ -z "$left" ] || fail "windows left after the end: $left"
}

# Gives a window the keyboard, with or without a window manager.
focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null; sleep 0.2; }
centre() { read -r x y w h <<<"$(geometry "$1")"; echo $((x + w / 2)) $((y + h / 2)); }

# ---- the walk

walk_clock() {
  case=walk
  start_program || return
  shot start
  local c before after
  c=$(clock_window)
  # Jump: the pointer over the clock sends it to its edge's other corner.
  before=$(clock_corner)
  read -r cx cy <<<"$(centre "$c")"
  xdotool mousemove 640 400 sleep 0.2 mousemove "$cx" "$cy" sleep 0.1 mousemove $((cx + 3)) $((cy + 3))
  if wait_until 3 '[ "$(clock_corner)" != "$before" ]'; then
    ok "jumped from corner $before to $(clock_corner)"
  else
    fail "the clock did not jump away from the pointer"
  fi
  xdotool mousemove 640 400
  sleep 0.6
  # Drag with Shift held (the pointer alone would make it jump): it goes
  # back to its corner after the drop.
  c=$(clock_window)
  read -r cx cy <<<"$(centre "$c")"
  xdotool keydown shift mousemove "$cx" "$cy" sleep 0.3 mousedown 1 sleep 0.3
  for _ in $(seq 10); do xdotool mousemove_relative -- 15 -15; sleep 0.05; done
  read -r mx my _ <<<"$(geometry "$c")"
  xdotool mouseup 1 keyup shift
  xdotool mousemove 640 400
  if wait_for 3 in_corner; then ok "dragged to $mx,$my, back in corner $(clock_corner)"; else fail "after a drag the clock stays away from its corner"; fi
  no_message_box

  # The clock's menu: each item.
  menu_item() { # key: the item's access key
    c=$(clock_window)
    read -r cx cy <<<"$(centre "$c")"
    xdotool keydown shift mousemove "$cx" "$cy" sleep 0.2 click 3 keyup shift sleep 0.6 key "$1"
    sleep 1.2
  }
  menu_item c   # 設定(&C)
  local d
  d=$(dialog_window)
  if viewable "$d"; then
    read -r x y w h <<<"$(geometry "$d")"
    ok "設定 opens the dialog at $x,$y (${w}x$h)"
    shot settings-display
    focus "$d"; xdotool key alt+s; sleep 0.6; shot settings-signal
    xdotool key alt+e; sleep 0.4
    xdotool key alt+o   # 了解(&O)
    sleep 1.2
    dialog_parked && ok "了解 parks the dialog again"
  else
    fail "設定 did not open the dialog"
  fi
  no_message_box
  menu_item v   # クリップボードへコピー(&V)
  no_message_box && ok "copy"
  menu_item m   # Kelvora ヘルプ(&M)
  if wait_for 5 has_window_titled "Kelvora ヘルプ"; then
    ok "help opens"; shot help
    focus "$(window_titled 'Kelvora ヘルプ')"; xdotool key alt+x; sleep 0.8
    no_window_titled "Kelvora ヘルプ" && ok "help closes" || fail "help stays open after 終了(&X)"
  else
    fail "help did not open"
  fi
  menu_item a   # バージョン情報(&A)
  if wait_for 5 has_window_titled "Kelvora のバージョン情報"; then
    ok "about box opens"; shot about
    focus "$(window_titled 'Kelvora のバージョン情報')"; xdotool key Return; sleep 0.8
    no_window_titled "Kelvora のバージョン情報" && ok "about box closes" || fail "the about box stays open"
  else
    fail "the about box did not open"
  fi
  dialog_parked
  menu_item x   # 終了(&X)
  ended "by the clock's 終了"
}

end_by() { # case, then what ends the program
  case=$1
  start_program || return
  local c d
  c=$(clock_window)
  case "$1" in
    alt-f4)
      read -r cx cy <<<"$(centre "$c")"
      xdotool keydown shift mousemove "$cx" "$cy" sleep 0.2 keyup shift
      focus "$c"
      xdotool key alt+F4 ;;
    dialog-end)
      read -r cx cy <<<"$(centre "$c")"
      xdotool keydown shift mousemove "$cx" "$cy" sleep 0.2 click 3 keyup shift sleep 0.6 key c
      sleep 1.2
      focus "$(dialog_window)"
      xdotool key alt+x ;;
    tray-close)
      local t
      t=$(tray_icon)
      [ -n "$t" ] || { fail "no tray icon"; kill "$pid"; wait "$pid" 2>/dev/null; return; }
      ok "tray icon shows"
      read -r cx cy <<<"$(centre "$t")"
      xdotool mousemove "$cx" "$cy" click 1 sleep 0.8
      shot tray-menu
      xdotool key c ;;  # 閉じる(&C)
    sigterm) kill -TERM "$pid" ;;
  esac
  ended "by $1"
}

# Under a window manager: the parked dialog's taskbar entry opens the
# settings, centred; a tray that starts after the clock gets its icon.
taskbar_and_late_tray() {
  case=taskbar
  start_program || return
  local d
  d=$(dialog_window)
  xdotool windowactivate "$d" 2>/dev/null   # what a click on the taskbar entry asks
  sleep 1.5
  if viewable "$d"; then
    read -r x y w h <<<"$(geometry "$d")"
    local mx=$(((1280 - w) / 2)) my
    if [ $((x - mx)) -le 8 ] && [ $((mx - x)) -le 8 ]; then ok "the taskbar entry opens the settings centred ($x,$y)"; else fail "the taskbar entry opens the settings at $x,$y, not centred"; fi
    shot taskbar-open
    # 最前面表示(&W): its message, then 了解 gives the clock (not the dialog)
    # the state, in the same native window.
    local c
    c=$(clock_window)
    focus "$d"; xdotool key alt+w
    if wait_until 3 '[ -n "$(window_titled Kelvora)" ]'; then
      focus "$(window_titled Kelvora)"; xdotool key Return; sleep 0.5
    else
      fail "最前面表示 shows no message"
    fi
    focus "$d"; xdotool key alt+o; sleep 1.2
    dialog_parked && ok "了解 parks it again"
    if [ "$(clock_window)" = "$c" ] && xprop -id "$c" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; then
      ok "topmost: the clock (same window $c) is above"
    else
      fail "topmost did not go to the clock window $c (now $(clock_window))"
    fi
    xprop -id "$d" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE && fail "the parked dialog is topmost"
  else
    fail "activating the taskbar entry did not open the settings"
  fi
  no_message_box
  kill -TERM "$pid"
  ended "by SIGTERM"
}

run_desk() {
  desk=$1
  case=display
  say "---- $desk"
  start_display
  if [ "$desk" = openbox ]; then
    # The panel comes after the clock, as it may at login: the tray icon
    # must appear when the tray does.
    openbox >/dev/null 2>&1 &
    pids+=($!)
    wait_until 10 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "#"'
    case=late-tray
    new_home
    "$app" >"$home/stderr.txt" 2>&1 &
    pid=$!; pids+=($pid)
    wait_for 15 in_corner || fail "the clock did not dock"
    sleep 2
    tint2 >/dev/null 2>&1 &
    pids+=($!)
    if wait_until 8 '[ -n "$(tray_icon)" ]'; then
      ok "the tray icon appears with a tray started later"
    else
      fail "no tray icon once the tray has started"
    fi
    shot late-tray
    kill -TERM "$pid"; ended "by SIGTERM"
    wait_until 10 'xprop -root _NET_WORKAREA 2>/dev/null | grep -q ", 770"'
  fi
  walk_clock
  local ways=(alt-f4 dialog-end sigterm)
  [ "$desk" = openbox ] && ways+=(tray-close)
  for way in "${ways[@]}"; do end_by "$way"; done
  [ "$desk" = openbox ] && taskbar_and_late_tray
  # The display and its desktop go before the next one starts.
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  pids=()
}

if [ "$which" = all ] || [ "$which" = bare ]; then run_desk bare; fi
if [ "$which" = all ] || [ "$which" = openbox ]; then run_desk openbox; fi

if [ "$failures" -gt 0 ]; then
  say "desktop-check: $failures failure(s); screenshots in $shots"
  exit 1
fi
say "desktop-check: all passed; screenshots in $shots"
