#!/usr/bin/env bash
# Installs, on a Debian 12 machine, every package the two builds and their
# tests need. Safe to run again: it only asks apt for what is missing.
set -euo pipefail

need=(
  cmake make g++ pkg-config
  googletest libgtest-dev libbenchmark-dev zlib1g-dev libisal-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-tools
  binutils-mingw-w64-i686 libz-mingw-w64-dev
  wine wine32:i386 xvfb xauth x11-utils
  # For machines whose kernel runs no 32-bit code: the 64-bit test build.
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64
  fonts-wqy-microhei fonts-arphic-uming fonts-wine locales
  # The release: the installer is made by NSIS through CPack.
  nsis
)

missing=()
for p in "${need[@]}"; do
  name=${p%%:*}
  arch=${p#*:}; [ "$arch" = "$p" ] && arch=""
  q=$name${arch:+:$arch}
  if ! dpkg-query -W -f='${Status}' "$q" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
