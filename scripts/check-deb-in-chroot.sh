#!/usr/bin/env bash
# Installs the built .deb into a clean Debian 12 made by debootstrap and runs tlhost demo and
# tlhost report there, from the installed layout alone. Needs root, debootstrap and Debian's
# archive; takes a few minutes, so CI does not run it.
#   scripts/check-deb-in-chroot.sh [PACKAGE.deb] [CHROOT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
deb=${1:-$(ls build/deb/tlosses_*_amd64.deb | tail -1)}
root=${2:-$(mktemp -d /tmp/tlosses-chroot-XXXXXX)}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

cleanup() {
  for m in dev/pts dev proc; do
    mountpoint -q "$root/$m" && umount -l "$root/$m"
  done
}
trap cleanup EXIT

if [ ! -x "$root/usr/bin/apt-get" ]; then
  echo "== debootstrap bookworm into $root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -20 "$root.debootstrap.log"; exit 1; }
fi
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

echo "== apt-get install ./$(basename "$deb") (its dependencies from the archive)"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends --reinstall \
  "/tmp/$(basename "$deb")" >/dev/null
in_root dpkg -s tlosses | grep -E '^(Status|Version|Depends):'
in_root ls /usr/lib/x86_64-linux-gnu/tlosses

echo "== tlhost --version, demo and report, as installed"
in_root tlhost --version
in_root tlscript --version
in_root sh -c 'rm -rf /tmp/demo && tlhost demo --db /tmp/demo/ >/tmp/demo.out; s=$?; tail -4 /tmp/demo.out; exit $s'
in_root tlhost --db /tmp/demo/demo.db report '\Scripts\Demo\' -o /tmp/demo/losses.html
in_root sh -c 'echo "$(grep -o "<canvas" /tmp/demo/losses.html | wc -l) charts, $(grep -o "Chart.js v[0-9.]*" /tmp/demo/losses.html | head -1) inside"'
in_root tlhost --db /tmp/demo/demo.db tasks
in_root sh -c 'man -w tlhost 2>/dev/null || ls /usr/share/man/man1/tlhost.1'
echo "== the installed package works in $root"
