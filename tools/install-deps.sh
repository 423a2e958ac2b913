#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need. Idempotent and quiet when
# everything is already there; needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 fonts-wine xvfb xauth x11-utils socat fonts-ipafont-gothic locales imagemagick file python3 xdotool
  clang libclang-rt-14-dev
  cups cups-client printer-driver-cups-pdf ghostscript poppler-utils
  nsis unzip
  libmseed-dev faketime
)
# 32-bit Wine runs the shipped i686 programs: natively where the kernel executes 32-bit code, under
# emulation (tools/emu32.sh) where it does not. Its i386 dependencies can lag behind a mirror's amd64
# security updates, and every test runs on the x86_64 build without it: best effort. 32-bit Wine
# finds printers only through the 32-bit libcups, which it merely recommends.
optional=(wine32:i386 libcups2:i386)

SUDO=""
[ "$(id -u)" = 0 ] || SUDO="sudo"

missing=()
# An optional package that failed once this boot is not tried again on every run.
[ -f /tmp/.quorvel-optional-failed ] && optional=()
for p in "${packages[@]}" "${optional[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

apt_install() {
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@" >>/tmp/quorvel-apt.log 2>&1
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  : >/tmp/quorvel-apt.log
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    rm -f /tmp/.quorvel-apt-updated
  fi
  required=()
  for p in "${missing[@]}"; do
    [[ " ${optional[*]} " == *" $p "* ]] || required+=("$p")
  done
  # One update per machine boot is enough; a fresh i386 architecture forces another. A mirror in the
  # middle of a sync fails single indexes; the install below decides whether that matters.
  for attempt in 1 2 3; do
    if [ -f /tmp/.quorvel-apt-updated ] && { [ ${#required[@]} = 0 ] || apt-get install -s -y "${required[@]}" >/dev/null 2>&1; }; then
      break
    fi
    [ "$attempt" -gt 1 ] && sleep 20
    $SUDO apt-get update -qq >>/tmp/quorvel-apt.log 2>&1 || echo "install-deps: apt-get update reported errors (attempt $attempt)"
    touch /tmp/.quorvel-apt-updated
  done
  if [ ${#required[@]} -gt 0 ]; then
    apt_install "${required[@]}" || { tail -n 40 /tmp/quorvel-apt.log; exit 1; }
  fi
  for p in "${optional[@]}"; do
    [[ " ${missing[*]} " == *" $p "* ]] || continue
    apt_install "$p" || { touch /tmp/.quorvel-optional-failed
      echo "install-deps: $p could not be installed now; the shipped i686 build will not be run"; }
  done
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

# The miniSEED end-to-end test's second reader: seisplotjs under node, pinned, in build/seed-readers.
readers="$(cd "$(dirname "$0")/.." && pwd)/build/seed-readers"
seisplotjs_version=3.1.4
if ! grep -qs "\"version\": \"$seisplotjs_version\"" "$readers/node_modules/seisplotjs/package.json"; then
  echo "install-deps: installing seisplotjs $seisplotjs_version into $readers"
  # Node comes with the machine; Debian's npm (with its node) only where there is none.
  command -v npm >/dev/null || { : >/tmp/quorvel-apt.log; apt_install npm || { tail -n 40 /tmp/quorvel-apt.log; exit 1; }; }
  mkdir -p "$readers"
  npm install --prefix "$readers" --no-save --no-audit --no-fund --loglevel=error "seisplotjs@$seisplotjs_version" \
    >/tmp/quorvel-npm.log 2>&1 || { tail -n 20 /tmp/quorvel-npm.log; exit 1; }
fi
