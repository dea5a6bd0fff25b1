# Sourced by scripts that run several Windows programs in a row: one Xvfb
# (when there is no DISPLAY) and one Wine for the whole script, stopped when
# it exits. $root is the source tree: the caller's, or this script's own
# (sourced by hand from a shell, it once made a tree at /build).
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
. "$root/scripts/wine-env.sh"
export QX_WINE_HOME="$root/build/wine"
qx_start_xvfb
# Each step may fail (no wineserver left to stop) without the caller's
# `set -e` cutting the rest short: the Xvfb was once left running so.
qx_end_wine_session() {
  for p in prefix prefix64; do
    if [ -d "$QX_WINE_HOME/$p" ]; then
      WINEPREFIX="$QX_WINE_HOME/$p" wineserver -k </dev/null >/dev/null 2>&1 || true
    fi
  done
  qx_stop_xvfb
}
trap qx_end_wine_session EXIT
