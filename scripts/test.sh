#!/usr/bin/env bash
# Every test of both builds, from a fresh Debian 12 machine: installs what is
# missing, configures and builds the native build (plain and with
# sanitizers) and the win32 build, runs the native tests twice, then the
# win32 tests under Wine with Xvfb.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)

bash scripts/install-deps.sh || { echo "test.sh: installing dependencies failed" >&2; exit 1; }

set -e
cmake -S . -B build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_TEST_DIRS= -DQX_SKIP_DIRS= >/dev/null
cmake --build build/host -j"$jobs"
# The native tests once more with AddressSanitizer and UBSan: memory faults
# that pass unnoticed in a plain run fail here.
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=ON -DQX_TEST_DIRS= -DQX_SKIP_DIRS= >/dev/null
cmake --build build/asan -j"$jobs"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_TEST_DIRS= -DQX_SKIP_DIRS= >/dev/null
cmake --build build/win32 -j"$jobs"
# The Windows tests run the 32-bit product under wine32. A machine whose
# kernel runs no 32-bit code cannot start wine32: there the same sources,
# built as a 64-bit Windows program, are tested under wine64 instead (the
# 32-bit build above still has to compile).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  wintest=build/win32
  export QX_WINE_ARCH=win32
else
  echo "test.sh: this machine runs no 32-bit code; the Windows tests run on the 64-bit build under wine64"
  wintest=build/win64
  export QX_WINE_ARCH=win64
  cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_TEST_DIRS= -DQX_SKIP_DIRS= >/dev/null
  cmake --build build/win64 -j"$jobs"
fi
# The release (zip and installer) from the 32-bit build, and the same from
# the tree under test when that is the 64-bit one: the release tests install
# and run them.
bash scripts/package.sh build/win32
[ "$wintest" = build/win32 ] || bash scripts/package.sh "$wintest"
set +e

summary() {  # "N passed, N failed" from a ctest log
  sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -1
}
retried() {  # tests that passed only when run again: CTest numbers first runs ("3/9 Test #3:"), not repeats
  sed -n 's/^ \{1,\}Test \{1,\}#[0-9]*: \([^ ]*\) .* Passed .*/\1/p' "$1"
}

echo "== native tests"
(cd build/host && ctest --output-on-failure -j"$jobs" 2>&1) | tee build/host-ctest.log
host_rc=${PIPESTATUS[0]}

echo "== native tests with sanitizers"
(cd build/asan && ctest --output-on-failure -j"$jobs" 2>&1) | tee build/asan-ctest.log
asan_rc=${PIPESTATUS[0]}

echo "== Windows tests under Wine ($wintest)"
# One Xvfb and one Wine for the whole run.
. "$root/scripts/wine-session.sh"
scripts/wine-run cmd /c exit 0 </dev/null >/dev/null 2>&1   # makes the prefix once
# A test program that fails is run once more before it counts as failed:
# Wine very rarely fails a process start while its services settle.
(cd "$wintest" && ctest --output-on-failure --repeat until-pass:2 2>&1) | tee build/win32-ctest.log
win_rc=${PIPESTATUS[0]}
mapfile -t win_retried < <(retried build/win32-ctest.log)
for t in "${win_retried[@]}"; do echo "Windows ($wintest): $t passed only on its second run"; done

read -r af at <<<"$(summary build/asan-ctest.log)"
read -r hf ht <<<"$(summary build/host-ctest.log)"
read -r wf wt <<<"$(summary build/win32-ctest.log)"
failed=$(( ${hf:-0} + ${af:-0} + ${wf:-0} ))
total=$(( ${ht:-0} + ${at:-0} + ${wt:-0} ))
echo
echo "native: $(( ${ht:-0} - ${hf:-0} ))/${ht:-0} passed; with sanitizers: $(( ${at:-0} - ${af:-0} ))/${at:-0} passed; Windows ($wintest): $(( ${wt:-0} - ${wf:-0} ))/${wt:-0} passed"
echo "$(( total - failed )) passed, $failed failed, ${#win_retried[@]} retried"
[ "$host_rc" -eq 0 ] && [ "$asan_rc" -eq 0 ] && [ "$win_rc" -eq 0 ] && [ "$total" -gt 0 ]
