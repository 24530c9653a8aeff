#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the built package on a clean Debian 12 root made with debootstrap, runs vellora-render from it,
# then purges it and shows that nothing of it is left. Needs root and the network; not part of the tests.
# Usage: scripts/check-package-install.sh [PACKAGE.deb]   (default: build/vellora_*.deb, from `cpack -G DEB`)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then echo "run as root: debootstrap and chroot need it" >&2; exit 2; fi

deb=${1:-}
if [ -z "$deb" ]; then
  debs=(build/vellora_*.deb)
  deb=${debs[0]}
fi
[ -f "$deb" ] || { echo "no package at $deb: build, then run cpack -G DEB in build/" >&2; exit 2; }
deb=$(realpath "$deb")

if ! command -v debootstrap > /dev/null; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
fi

root=$(mktemp -d /tmp/vellora-clean-root.XXXXXX)
CleanUp() {
  if mountpoint -q "$root/proc"; then umount "$root/proc"; fi
  rm -rf --one-file-system "$root"
}
trap CleanUp EXIT

InRoot() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
Step() { printf '\n=== %s\n' "$*"; }

Step "debootstrap --variant=minbase bookworm $root"
debootstrap --variant=minbase bookworm "$root" > "$root.debootstrap.log" 2>&1 \
  || { cat "$root.debootstrap.log"; rm -f "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"
mount -t proc proc "$root/proc"
InRoot apt-get update -q
InRoot dpkg-query -W -f '${Package}\n' | sort > "$root/tmp/packages-before"

# Which of the package's paths the clean root has already (/usr, /usr/share, ...): those must stay.
dpkg-deb -c "$deb" | awk '{print $6}' | sed -e 's|^\./|/|' -e 's|/$||' | grep -v '^$' > "$root/tmp/deb-paths"
while read -r path; do
  if [ -e "$root$path" ]; then echo "$path"; fi
done < "$root/tmp/deb-paths" > "$root/tmp/paths-before"

cp "$deb" "$root/tmp/"
Step "apt install ./$(basename "$deb")"
InRoot sh -c 'cd /tmp && apt-get install -y -q ./vellora_*.deb'

Step "vellora-render --help (installed)"
InRoot vellora-render --help
Step "vellora-render --version (installed)"
InRoot vellora-render --version
Step "every library the programs need is there"
if InRoot ldd /usr/bin/vellora /usr/bin/vellora-render | grep 'not found'; then exit 1; fi
echo "none missing"

Step "dpkg -L vellora"
InRoot dpkg -L vellora | tee "$root/tmp/installed-paths"

Step "apt purge vellora; apt autoremove --purge"
InRoot apt-get purge -y -q vellora
InRoot apt-get autoremove -y -q --purge

Step "what is left of each installed path"
left=0
while read -r path; do
  if [ "$path" = /. ] || [ ! -e "$root$path" ]; then continue; fi
  if grep -qx -- "$path" "$root/tmp/paths-before"; then
    echo "kept (was there before): $path"
  else
    echo "LEFT BEHIND: $path"
    left=1
  fi
done < "$root/tmp/installed-paths"
InRoot dpkg-query -W -f '${Package}\n' | sort > "$root/tmp/packages-after"
if ! diff -u "$root/tmp/packages-before" "$root/tmp/packages-after"; then
  echo "the installed packages differ from the clean root's"
  left=1
fi
if InRoot dpkg-query -W vellora > /dev/null 2>&1; then echo "dpkg still knows vellora"; left=1; fi
[ "$left" -eq 0 ] || exit 1
echo "nothing of the package is left: every path it installed is gone or was there before, and the root has the same $(wc -l < "$root/tmp/packages-after") packages as before"
