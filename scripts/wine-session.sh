# Sourced by scripts that run several Windows programs in a row: one Xvfb
# (when there is no DISPLAY) and one Wine for the whole script, stopped when
# it exits. Started with their output detached, so that nothing waits on a
# pipe they inherited. Needs $root, the source tree.
export QX_WINE_HOME="$root/build/wine"
qx_xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 190); do
    [ -e /tmp/.X$n-lock ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    qx_xvfb_pid=$!
    sleep 1
    if kill -0 "$qx_xvfb_pid" 2>/dev/null; then export DISPLAY=":$n"; break; fi
    qx_xvfb_pid=""
  done
fi
# Each step may fail (no wineserver left to stop) without the caller's
# `set -e` cutting the rest short: the Xvfb was once left running so.
qx_end_wine_session() {
  for p in prefix prefix64; do
    if [ -d "$QX_WINE_HOME/$p" ]; then
      WINEPREFIX="$QX_WINE_HOME/$p" wineserver -k </dev/null >/dev/null 2>&1 || true
    fi
  done
  if [ -n "$qx_xvfb_pid" ]; then kill "$qx_xvfb_pid" 2>/dev/null || true; fi
  return 0
}
trap qx_end_wine_session EXIT
