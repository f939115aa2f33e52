#!/bin/sh
# Starts Kotoban on a virtual display with its own session bus and accessibility bus, and
# reads its main window through AT-SPI, as a screen reader does.
#   check-atspi.sh <kotoban executable> <starter library folder>
# Exits 77 (skipped) when a tool it needs is not installed (packages xvfb, dbus,
# at-spi2-core, python3-pyatspi). Debian's python3 has pyatspi; another python3 found first
# on PATH may not, so Debian's is called by its path.
set -eu
python=/usr/bin/python3
skip() { echo "SKIP: $*"; exit 77; }
command -v Xvfb >/dev/null 2>&1 || skip "Xvfb is not installed (xvfb)"
command -v xdpyinfo >/dev/null 2>&1 || skip "xdpyinfo is not installed (x11-utils)"
command -v dbus-run-session >/dev/null 2>&1 || skip "dbus-run-session is not installed (dbus)"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "the accessibility bus is not installed (at-spi2-core)"
[ -x "$python" ] && "$python" -c 'import pyatspi' 2>/dev/null || skip "pyatspi is not installed (python3-pyatspi)"

# Xvfb picks a free display itself and reports it once it accepts clients, so tests running
# side by side do not race for a display number. The display is checked before use: a server
# that went away at once is started again. -noreset: a server resets when its last client
# leaves, and a connection made during the reset is refused.
scratch="$(mktemp -d)"
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
display=""
for attempt in 1 2 3; do
  : >"$scratch/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$scratch/display" 2>"$scratch/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
  done
  if [ -s "$scratch/display" ] && xdpyinfo -display ":$(cat "$scratch/display")" >/dev/null 2>&1; then
    display=":$(cat "$scratch/display")"
    break
  fi
  echo "Xvfb attempt $attempt failed:"; cat "$scratch/xvfb.log"
  kill "$xvfb" 2>/dev/null || true
  xvfb=""
done
[ -n "$display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }

status=0
DISPLAY="$display" dbus-run-session -- "$python" "$(dirname "$0")/atspi_tree.py" "$1" "$2" ||
  status=$?
exit "$status"
