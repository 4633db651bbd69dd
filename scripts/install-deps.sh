#!/usr/bin/env bash
# Installs, from Debian's packages, everything needed to build, test, run the
# demo and run the benchmarks. Safe to run again; quiet when all is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libspdlog-dev libfmt-dev libsystemd-dev libyaml-cpp-dev libtinyxml2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  systemd util-linux
  clang clang-format clang-tidy libclang-rt-dev
)

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
