# Helpers for the test suites that need a display; sourced, not run.

# start_xvfb FIRST LAST LOG: starts a virtual X server on the first free
# display number from FIRST to LAST, logging to LOG, and sets $display. The
# server is stopped when the calling shell exits. Fails when no number is free
# or the server does not come up within five seconds.
start_xvfb() {
  display=
  local n
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
  done
  [ -n "$display" ] || { echo "no free display number from $1 to $2" >&2; return 1; }
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$3" 2>&1 &
  xvfb_server=$!
  trap 'kill "$xvfb_server" 2>/dev/null || true; wait "$xvfb_server" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && return 0
    sleep 0.1
  done
  echo "the virtual X server did not start (see $3)" >&2
  return 1
}

# make_wine_prefix LOADER: creates the prefix $WINEPREFIX unless it is there.
# wineboot has reported a failure for a prefix it had set up completely, so
# the prefix's registry, written when the wine server ends, decides; a first
# attempt that left none gets a second. Quiet: the caller reports a failure.
make_wine_prefix() {
  local attempt
  for attempt in 1 2; do
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    "$1" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver64 -w
  done
  [ -f "$WINEPREFIX/system.reg" ]
}

# run_wine_tests SECONDS LOADER PROGRAM: runs a GoogleTest program under wine
# (LOADER is the 64- or 32-bit wine) on a virtual display of its own, within
# SECONDS, in the prefix $WINEPREFIX (created on first use). The wine server
# is waited for at both ends: a server, and its desktop, started without a
# display can make no windows, and every program that comes while it lives
# gets that desktop. Returns the program's status, 124 when time ran out.
run_wine_tests() {
  local wineserver=/usr/lib/wine/wineserver64
  local status=0
  # The function goes in as text: xvfb-run's shell drops exported ones.
  timeout -k 10 "$1" xvfb-run -a bash -c "$(declare -f make_wine_prefix)"'
    "$0" -w
    make_wine_prefix "$1" || { echo "cannot create the wine prefix $WINEPREFIX" >&2; exit 1; }
    status=0
    "$1" "$2" --gtest_brief=1 || status=$?
    "$0" -w
    exit $status' "$wineserver" "$2" "$3" || status=$?
  # A run that overran its limit may leave programs of this prefix behind.
  [ "$status" -eq 0 ] || "$wineserver" -k 2>/dev/null || true
  return "$status"
}
