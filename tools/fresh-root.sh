#!/bin/sh
# Checks that README's two commands work on a fresh Debian 12 machine: makes
# a minimal bookworm root with debootstrap, puts a clean clone of this
# repository's HEAD into it and runs scripts/run.sh (no display: summaries)
# and scripts/test.sh there as root, with chroot. Prints PASS or FAIL and
# exits non-zero on failure. Needs root.
#
#   tools/fresh-root.sh [--reuse] [FOLDER]   (default /tmp/xrdview-fresh-root)
#
# --reuse keeps a root already bootstrapped in FOLDER, with its packages and
# compiler cache (only the clone is made again); without it FOLDER must not
# exist yet.
set -eu
mirror=http://deb.debian.org/debian
reuse=no
if [ "${1:-}" = "--reuse" ]; then
  reuse=yes
  shift
fi
root=$(realpath -m "${1:-/tmp/xrdview-fresh-root}")
repo=$(cd "$(dirname "$0")/.." && git rev-parse --show-toplevel)
started=$(date +%s)

fail() { echo "FAIL: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "run as root (debootstrap, mount and chroot need it)"
[ "$root" != / ] || fail "the root folder cannot be /"

mounted=""
unmount_all() {
  status=$?
  for point in $mounted; do umount -l "$point" 2>/dev/null || true; done
  exit "$status"
}
trap unmount_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
mount_in_root() { # POINT MOUNT-ARGUMENT...
  point=$root$1
  shift
  mkdir -p "$point"
  mount "$@" "$point"
  mounted="$point $mounted"
}

if [ "$reuse" = yes ] && [ -f "$root/etc/debian_version" ]; then
  echo "Reusing the Debian root in $root"
else
  [ ! -e "$root" ] || fail "$root exists: remove it, or give --reuse"
  if ! command -v debootstrap >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
  fi
  echo "Bootstrapping Debian 12 into $root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    fail "debootstrap (see $root.debootstrap.log)"
fi
# Services installed in the root (the PostgreSQL cluster) are not started.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
cp /etc/resolv.conf "$root/etc/resolv.conf"

rm -rf "$root/root/xrdview"
git clone -q --no-hardlinks "$repo" "$root/root/xrdview"
echo "Cloned $(git -C "$repo" rev-parse --short HEAD) into $root/root/xrdview"

# The host's device nodes, private so that the mounts below stay in the root.
mount_in_root /proc -t proc proc
mount_in_root /dev --bind /dev
mount --make-private "$root/dev"
mount_in_root /dev/pts --bind /dev/pts
mount_in_root /dev/shm -t tmpfs -o mode=1777 shm

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb CCACHE_DIR=/root/.ccache \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    nice -n 10 sh -c "cd /root/xrdview && $1"
}
status=0
in_root scripts/run.sh || status=$?
[ "$status" -eq 0 ] || fail "scripts/run.sh exits $status"
in_root scripts/test.sh || status=$?
[ "$status" -eq 0 ] || fail "scripts/test.sh exits $status"
echo "PASS: scripts/run.sh and scripts/test.sh on a fresh Debian 12 root" \
  "($(($(date +%s) - started)) s)"
