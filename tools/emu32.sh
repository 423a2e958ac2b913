#!/usr/bin/env bash
# Runs 32-bit x86 programs (the 32-bit Wine loader, and so the shipped i686 programs) on kernels that
# cannot execute 32-bit code: qemu user-mode emulation, handed i386 ELF files by a binfmt_misc of a
# private user and mount namespace (Linux 6.7 or later). Nothing outside the namespace changes.
#   tools/emu32.sh check       exit 0 when commands can run so; otherwise one line saying why not
#   tools/emu32.sh run CMD...  runs CMD (and whatever it starts) with i386 ELF files emulated
# The emulator comes from Debian's backports suite (Debian 12's own qemu is too slow and crashes
# under Wine), fetched once with a private apt configuration into build/qemu-user/ and unpacked
# there; the machine's package sources and installed packages are left alone.
# QUORVEL_EMU32=off makes `check` fail, as on a machine without a private binfmt_misc.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=$root/build/qemu-user
qemu=$cache/qemu-i386
binfmt=/proc/sys/fs/binfmt_misc
# i386 executables and shared objects (e_ident class 32-bit, little endian; e_machine 3).
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# fetch: puts qemu-i386 into the cache unless it is there already.
fetch() {
  [ -x "$qemu" ] && return 0
  local codename mirror apt=$cache/apt opts
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  # The machine's own mirror of its release also carries the backports suite.
  mirror=$(apt-get indextargets --format '$(RELEASE) $(REPO_URI)' 'Identifier: Packages' 2>/dev/null \
    | awk -v r="$codename" '$1 == r { print $2; exit }')
  [ -n "$codename" ] && [ -n "$mirror" ] || { echo "no Debian release and mirror found in the apt configuration"; return 1; }
  rm -rf "$apt"
  mkdir -p "$apt/lists/partial" "$apt/archives/partial"
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $codename-backports main" >"$apt/sources.list"
  # Own lists, cache and lock; amd64 only; downloads as the caller (the folder is not _apt's).
  opts=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=/nonexistent
        -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt" -o Dir::Cache::archives="$apt/archives"
        -o APT::Architectures::=amd64 -o APT::Sandbox::User="$(id -un)" -o Debug::NoLocking=1)
  apt-get -qq "${opts[@]}" update >"$apt/log" 2>&1 \
    && (cd "$apt" && apt-get -qq "${opts[@]}" download qemu-user >>"$apt/log" 2>&1) \
    || { echo "could not fetch qemu-user from $codename-backports (log: $apt/log)"; return 1; }
  dpkg-deb --fsys-tarfile "$apt"/qemu-user_*.deb | tar -xO ./usr/bin/qemu-i386 >"$qemu.part" \
    && chmod +x "$qemu.part" && "$qemu.part" --version >/dev/null \
    || { rm -f "$qemu.part"; echo "qemu-user from $codename-backports has no working qemu-i386"; return 1; }
  mv "$qemu.part" "$qemu"
  rm -rf "$apt"
}

case "${1:-}" in
  check)
    [ "${QUORVEL_EMU32:-}" = off ] && { echo "emulation switched off (QUORVEL_EMU32=off)"; exit 1; }
    [ -x /usr/lib/wine/wine ] || { echo "32-bit Wine (wine32:i386) is not installed"; exit 1; }
    unshare --user --map-root-user --mount sh -c "mount -t binfmt_misc binfmt_misc $binfmt" 2>/dev/null \
      || { echo "no private binfmt_misc can be mounted here (needs user namespaces and Linux 6.7 or later)"; exit 1; }
    mkdir -p "$cache"
    fetch || exit 1
    "$0" run /usr/lib/wine/wine --version >/dev/null 2>&1 || { echo "32-bit Wine does not start under $qemu"; exit 1; }
    ;;
  run)
    shift
    [ -x "$qemu" ] || fetch || exit 1
    exec unshare --user --map-root-user --mount "$0" --inside "$@"
    ;;
  --inside)  # in the new namespace: a binfmt_misc of its own, i386 ELF files to qemu (F: opened now)
    shift
    mount -t binfmt_misc binfmt_misc "$binfmt" || exit 1
    printf ":qemu-i386:M::$magic:$mask:$qemu:F" >"$binfmt/register" || exit 1
    exec "$@"
    ;;
  *)
    sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
