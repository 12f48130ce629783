#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need.
# Run as root (or through sudo) on Debian 12.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=DEBIAN_FRONTEND bash "$0" "$@"
fi
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake pkg-config ninja-build
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libbz2-dev nettle-dev zlib1g-dev
  bzip2
  gcc-mingw-w64-i686 binutils-mingw-w64-i686 gcc-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  icoutils clang libclang-rt-14-dev
  qt6-base-dev fonts-dejavu-core
  desktop-file-utils shared-mime-info libxml2-utils
)
apt-get update
apt-get install -y --no-install-recommends "${packages[@]}"
