#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need. Idempotent and quiet when
# everything is already there; needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils socat fonts-ipafont-gothic locales imagemagick file
)

SUDO=""
[ "$(id -u)" = 0 ] || SUDO="sudo"

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    rm -f /tmp/.quorvel-apt-updated
  fi
  # One update per machine boot is enough; a fresh i386 architecture forces another.
  if [ ! -f /tmp/.quorvel-apt-updated ] || ! apt-get install -s -y "${missing[@]}" >/dev/null 2>&1; then
    $SUDO apt-get update -qq
    touch /tmp/.quorvel-apt-updated
  fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/tmp/quorvel-apt.log 2>&1 || {
    tail -n 40 /tmp/quorvel-apt.log; exit 1; }
fi

# Wine needs a Japanese locale for code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "install-deps: generating ja_JP.UTF-8"
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  else
    $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
  fi
fi
