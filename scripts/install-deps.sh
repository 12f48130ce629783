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
  qt6-base-dev fonts-dejavu-core
)
apt-get update
apt-get install -y --no-install-recommends "${packages[@]}"
