#!/usr/bin/env bash
# Every test of both builds, from a fresh Debian 12 machine: installs what is
# missing, configures and builds the native build (plain and with
# sanitizers) and the Windows build, runs the native tests twice, then the
# Windows tests under Wine with Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)
. scripts/wine-env.sh

bash scripts/install-deps.sh || { echo "test.sh: installing dependencies failed" >&2; exit 1; }

configure() {  # configure TREE [CMAKE ARGS...]
  local tree=$1
  shift
  cmake -S . -B "$tree" -DQX_TEST_DIRS= -DQX_SKIP_DIRS= "$@" >/dev/null
}
configure build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/host -j"$jobs"
# The native tests once more with AddressSanitizer and UBSan: memory faults
# that pass unnoticed in a plain run fail here.
configure build/asan -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=ON
cmake --build build/asan -j"$jobs"
# The Windows tests run the 32-bit product under wine32. Where wine32 cannot
# start, they run on the same sources built for 64-bit Windows, and of the
# 32-bit tree only what ships is built (its test programs could not run):
# the release must still compile.
qx_windows_tree
configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "$QX_WIN_TREE" = build/win32 ]; then
  cmake --build build/win32 -j"$jobs"
else
  echo "test.sh: this machine runs no 32-bit code; the Windows tests run on the 64-bit build under wine64"
  configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build/win64 -j"$jobs"
fi
# The release (zip and installer) from the 32-bit build, and the same from
# the tree under test when that is the 64-bit one: the release tests install
# and run them.
bash scripts/package.sh build/win32
[ "$QX_WIN_TREE" = build/win32 ] || bash scripts/package.sh "$QX_WIN_TREE"

# The totals come from CTest's own JUnit reports.
attribute() {  # attribute NAME REPORT: the test suite's count of that name
  grep -o -m1 "$1=\"[0-9]*\"" "$2" 2>/dev/null | grep -o '[0-9]*' || echo 0
}
failed_names() {  # the tests a report marks as failed, one a line
  grep -o '<testcase name="[^"]*"[^>]*status="fail"' "$1" 2>/dev/null |
    sed 's/<testcase name="\([^"]*\)".*/\1/' || true
}

results=()
failed=0
total=0
run_tests() {  # run_tests LABEL TREE [CTEST ARGS...]; false when any failed
  local label=$1 tree=$2 report=$root/$2-ctest.xml
  shift 2
  echo "== $label"
  rm -f "$report" "$report.rerun"
  local rc=0
  (cd "$tree" && ctest --output-on-failure --output-junit "$report" "$@") || rc=$?
  local n f
  n=$(attribute tests "$report")
  f=$(attribute failures "$report")
  echo "$label: $((n - f))/$n passed"
  results+=("$label: $((n - f))/$n passed")
  total=$((total + n))
  failed=$((failed + f))
  [ "$rc" -eq 0 ] && [ "$n" -gt 0 ]
}

native_ok=true
run_tests "native tests" build/host -j"$jobs" || native_ok=false
run_tests "native tests with sanitizers" build/asan -j"$jobs" || native_ok=false

# One Xvfb and one Wine for the whole run.
. scripts/wine-session.sh
scripts/wine-run cmd /c exit 0 </dev/null >/dev/null 2>&1   # makes the prefix once
windows_ok=true
run_tests "Windows tests under Wine ($QX_WIN_TREE)" "$QX_WIN_TREE" || windows_ok=false
# A Windows test program that failed runs once more before it counts as
# failed: Wine very rarely fails a process start while its services settle.
retried=()
if ! $windows_ok && [ "$(attribute failures "$root/$QX_WIN_TREE-ctest.xml")" -gt 0 ]; then
  mapfile -t first < <(failed_names "$root/$QX_WIN_TREE-ctest.xml")
  rc=0
  (cd "$QX_WIN_TREE" && ctest --output-on-failure --rerun-failed \
     --output-junit "$root/$QX_WIN_TREE-ctest.xml.rerun") || rc=$?
  still=$(attribute failures "$root/$QX_WIN_TREE-ctest.xml.rerun")
  mapfile -t again < <(failed_names "$root/$QX_WIN_TREE-ctest.xml.rerun")
  for t in "${first[@]}"; do
    printf '%s\n' "${again[@]}" | grep -qxF "$t" || retried+=("$t")
  done
  failed=$((failed - ${#first[@]} + still))
  if [ "$rc" -eq 0 ] && [ "$still" -eq 0 ]; then windows_ok=true; fi
  for t in "${retried[@]}"; do echo "Windows ($QX_WIN_TREE): $t passed only on its second run"; done
fi

echo
printf '%s; ' "${results[@]}"
echo
echo "$((total - failed)) passed, $failed failed, ${#retried[@]} retried"
$native_ok && $windows_ok
