#!/usr/bin/env bash
# Installs, from Debian's packages, everything needed to build ROS 2 Humble
# (see ../shared/ros2-humble/README.md), to build and test this repository, to
# run the demo, the benchmarks and the fuzzers. Quiet when all is present.
set -euo pipefail

packages=(
  # the ROS 2 Humble underlay and colcon
  colcon python3-colcon-ros python3-colcon-cmake python3-colcon-bash
  python3-colcon-package-selection python3-colcon-parallel-executor python3-colcon-test-result
  python3-colcon-package-information
  ament-cmake ament-cmake-ros cyclonedds-dev libacl1-dev uuid-dev python3-numpy python3-empy
  python3-lark python3-dev libboost-program-options-dev libyaml-dev libconsole-bridge-dev
  libeigen3-dev liborocos-kdl-dev xz-utils
  # this repository
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
  echo "Installing: ${missing[*]}" >&2
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >&2
fi
