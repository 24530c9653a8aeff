#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs everything Vellora needs to build, run and test on Debian 12 (python3-mido: the second reader the
# tests read written MIDI files with).
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins
  portaudio19-dev libasound2-dev libjpeg-dev libsndfile1-dev libkissfft-dev libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-private-dev fonts-dejavu-core
  dpkg-dev debhelper desktop-file-utils appstream lintian git
  libxcb1-dev xvfb xauth x11-utils
  python3-mido
)
as_root=()
if [ "$(id -u)" -ne 0 ]; then as_root=(sudo); fi
"${as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${packages[@]}"
