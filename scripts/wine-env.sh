# Sourced by every script that runs a Windows program of ours: the one
# place that knows which Windows build this machine can run and how an X
# display is had for Wine.
#
#   qx_windows_tree   sets QX_WIN_TREE (build/win32 or build/win64),
#                     QX_WIN_TOOLCHAIN and QX_WINE_PREFIX_NAME, and exports
#                     QX_WINE_ARCH
#   qx_start_xvfb     when there is no DISPLAY: starts an Xvfb and exports
#                     DISPLAY; qx_stop_xvfb stops the one it started
#
# The product is a 32-bit program, run under wine32. Some machines run no
# 32-bit code at all (their kernel cannot start wine32): there the same
# sources, built for 64-bit Windows, run under wine64.

qx_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

qx_windows_tree() {
  if qx_runs_32bit; then
    QX_WIN_TREE=build/win32 QX_WIN_TOOLCHAIN=cmake/mingw-i686.cmake QX_WINE_PREFIX_NAME=prefix
    export QX_WINE_ARCH=win32
  else
    QX_WIN_TREE=build/win64 QX_WIN_TOOLCHAIN=cmake/mingw-x86_64.cmake QX_WINE_PREFIX_NAME=prefix64
    export QX_WINE_ARCH=win64
  fi
}

qx_xvfb_pid=""
qx_start_xvfb() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 190); do
    [ -e "/tmp/.X$n-lock" ] && continue
    # Its output detached, so that nothing waits on a pipe it inherited.
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    qx_xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$qx_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    # Another start may have taken the number between the look and ours.
    if kill -0 "$qx_xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
    qx_xvfb_pid=""
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

qx_stop_xvfb() {
  [ -n "$qx_xvfb_pid" ] || return 0
  kill "$qx_xvfb_pid" 2>/dev/null || true
  wait "$qx_xvfb_pid" 2>/dev/null || true
  qx_xvfb_pid=""
  return 0
}
