#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fast checks of the Debian packaging that need no package build (seconds, part of scripts/run-tests.sh):
# the control file parses and its build dependencies are installed, the install rules put every file in exactly
# one of the two packages, lintian finds nothing wrong with the source package, and the desktop entry and
# AppStream metadata validate. Building the packages themselves is scripts/check-debian-packages.sh.
# Usage: scripts/check-debian-static.sh BUILD_DIR   (a configured and built CMake build folder)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?give the build folder}
work=$(mktemp -d /tmp/vellora-debian-static.XXXXXX)
trap 'rm -rf "$work"' EXIT
Fail() { echo "debian/: $*" >&2; exit 1; }

# The control file parses, names the two packages, and everything it asks for to build is installed.
packages=$(dh_listpackages | sort | tr '\n' ' ')
[ "$packages" = "vellora vellora-render " ] || Fail "control names the packages '$packages'"
dpkg-checkbuilddeps

# Every file the install rules put under /usr lands in exactly one package, and every packaged path exists.
DESTDIR="$work/tmp" cmake --install "$build" --prefix /usr > /dev/null
(cd "$work/tmp" && find . -type f -o -type l | sed 's|^\./||' | sort) > "$work/installed"
for package in vellora vellora-render; do
  while read -r path; do
    [ -e "$work/tmp/$path" ] || Fail "$package.install names $path, which the build does not install"
    echo "$path"
  done < "debian/$package.install"
done | sort > "$work/packaged"
if ! diff -u "$work/installed" "$work/packaged"; then Fail "installed files (-) and packaged files (+) differ"; fi

# The source package as lintian sees it, made from the files git tracks (the build folders stay out).
git archive --format=tar --prefix=vellora/ HEAD | tar -x -C "$work"
cp -r debian "$work/vellora/"  # uncommitted changes to the packaging count too
(cd "$work" && dpkg-source --build vellora > /dev/null)
lintian --fail-on error,warning "$work"/vellora_*.dsc

# desktop-file-validate exits 0 on warnings and hints, so any word from it counts as a failure.
desktop_report=$(desktop-file-validate packaging/vellora.desktop 2>&1) || { echo "$desktop_report"; exit 1; }
if [ -n "$desktop_report" ]; then echo "$desktop_report"; exit 1; fi
appstreamcli validate --no-net --strict packaging/*.metainfo.xml
echo "debian/: static checks passed"
