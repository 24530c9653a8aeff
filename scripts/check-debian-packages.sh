#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages in a clean Debian 12 root made with debootstrap, then, in a second clean root,
# installs each package, runs its program, purges it and shows that nothing of it is left, counting the packages
# each one pulls in. Needs root and the Debian mirror; slow (a full build), so not part of scripts/run-tests.sh.
# Usage: sudo scripts/check-debian-packages.sh [OUT_DIR]   (OUT_DIR, default ./debian-packages, receives the
# built packages, the .changes and the build log; the source is the committed tree, HEAD)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then echo "run as root: debootstrap and chroot need it" >&2; exit 2; fi
out=$(realpath -m "${1:-debian-packages}")
mirror=${VELLORA_DEBIAN_MIRROR:-http://deb.debian.org/debian}
mkdir -p "$out"

if ! command -v debootstrap > /dev/null; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
fi

top=$(mktemp -d /tmp/vellora-clean-roots.XXXXXX)
build_root=$top/build run_root=$top/run
CleanUp() {
  for root in "$build_root" "$run_root"; do
    if mountpoint -q "$root/proc"; then umount "$root/proc"; fi
  done
  rm -rf --one-file-system "$top"
}
trap CleanUp EXIT

InRoot() {
  local root=$1; shift
  chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}
Step() { printf '\n=== %s\n' "$*"; }
Packages() { InRoot "$1" dpkg-query -W -f '${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}' | sort; }

Step "debootstrap --variant=minbase bookworm ($mirror)"
debootstrap --variant=minbase bookworm "$build_root" "$mirror" > "$top/debootstrap.log" 2>&1 \
  || { cat "$top/debootstrap.log"; exit 1; }
cp -a "$build_root" "$run_root"  # the second root starts as clean as the first
for root in "$build_root" "$run_root"; do
  mount -t proc proc "$root/proc"
  InRoot "$root" apt-get update -q > /dev/null
done

Step "build dependencies and dpkg-buildpackage -us -uc -b (in the build root)"
mkdir -p "$build_root/src"
git archive --format=tar --prefix=vellora/ HEAD | tar -x -C "$build_root/src"
InRoot "$build_root" apt-get install -y -q --no-install-recommends build-essential > /dev/null
InRoot "$build_root" sh -c 'cd /src/vellora && apt-get build-dep -y -q ./' > /dev/null
echo "build root: $(Packages "$build_root" | wc -l) packages"
if ! InRoot "$build_root" sh -c 'cd /src/vellora && dpkg-buildpackage -us -uc -b' > "$out/build.log" 2>&1; then
  tail -n 40 "$out/build.log"; exit 1
fi
rm -f "$out"/*.deb "$out"/*.changes "$out"/*.buildinfo
cp "$build_root"/src/*.deb "$build_root"/src/*.changes "$build_root"/src/*.buildinfo "$out/"
ls -l "$out"

for deb in "$out"/vellora_*.deb "$out"/vellora-render_*.deb; do
  Step "dpkg -I $(basename "$deb") (Depends, Recommends)"
  dpkg-deb -f "$deb" Package Depends Recommends
done

cp "$out"/vellora_*_*.deb "$out"/vellora-render_*_*.deb "$run_root/tmp/"
rm -f "$run_root"/tmp/*-dbgsym_*.deb
Packages "$run_root" > "$top/clean"
echo "run root: $(wc -l < "$top/clean") packages"

# Installs the package files given (apt options first), runs the checks given as a shell command in the root,
# purges, and fails unless the root has exactly the packages of the clean root again.
Round() {
  local name=$1 options=$2 files=$3 checks=$4
  Step "$name: apt install $options $files"
  InRoot "$run_root" sh -c "cd /tmp && apt-get install -y -q $options $files" > "$top/install.log" \
    || { cat "$top/install.log"; exit 1; }
  Packages "$run_root" > "$top/installed"
  echo "$name pulls in $(comm -13 "$top/clean" "$top/installed" | wc -l) packages, itself included"
  InRoot "$run_root" sh -c "$checks"
  Step "$name: apt purge, apt autoremove --purge"
  InRoot "$run_root" sh -c "apt-get purge -y -q vellora vellora-render; apt-get autoremove -y -q --purge" > /dev/null
  Packages "$run_root" > "$top/after"
  if ! diff -u "$top/clean" "$top/after"; then echo "$name: the root's packages differ from the clean root's"; exit 1; fi
  for path in /usr/bin/vellora /usr/bin/vellora-render /usr/share/doc/vellora /usr/share/doc/vellora-render \
              /usr/share/applications/vellora.desktop /usr/share/metainfo/org.vellora.vellora.metainfo.xml; do
    if [ -e "$run_root$path" ]; then echo "$name: $path is left behind"; exit 1; fi
  done
  echo "$name: purged, nothing left; the root has its $(wc -l < "$top/after") packages again"
}

# The picture travels into the root beside the packages: vellora-render renders it and the file is checked.
cp examples/sweep.bmp examples/sweep.bmp.vlr "$run_root/tmp/"
render_checks='set -e
vellora-render --version
vellora-render /tmp/sweep.bmp -o /tmp/sweep.wav
test -s /tmp/sweep.wav && echo "rendered /tmp/sweep.wav: $(stat -c %s /tmp/sweep.wav) bytes"
rm /tmp/sweep.wav
echo "libraries vellora-render needs:"; ldd /usr/bin/vellora-render | awk "{print \"  \" \$1}"
if ldd /usr/bin/vellora-render | grep -Ei "qt|libx|xcb|not found"; then echo "a Qt or X library, or a missing one"; exit 1; fi'
window_checks='set -e
if ldd /usr/bin/vellora | grep "not found"; then exit 1; fi
echo "vellora with no display:"; vellora; echo "  status $?"
status=0; QT_QPA_PLATFORM=offscreen timeout 5 vellora || status=$?
echo "vellora on the offscreen platform: still running after 5 s (status $status)"; test "$status" -eq 124'

Round vellora-render "" "./vellora-render_*.deb" "$render_checks"
Round vellora "" "./vellora_*.deb" "$window_checks"
Round "vellora without recommends" "--no-install-recommends" "./vellora_*.deb" "$window_checks"
Round "both" "" "./vellora_*.deb ./vellora-render_*.deb" "$window_checks; $render_checks"

Step "lintian on the .changes"
if command -v lintian > /dev/null; then lintian --display-info "$out"/*.changes || true; fi
echo "all rounds passed; the packages are in $out"
