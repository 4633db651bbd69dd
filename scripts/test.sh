#!/usr/bin/env bash
# Installs what is missing, builds everything (stand-in mode unless ROS 2 is
# found) and runs the whole test suite.
#   scripts/test.sh                      plain build in build/
#   KESTRUNE_SANITIZE=address,undefined scripts/test.sh   (build/asan)
#   KESTRUNE_SANITIZE=thread scripts/test.sh              (build/tsan)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

sanitize="${KESTRUNE_SANITIZE:-}"
case "$sanitize" in
  "") build="$root/build" ;;
  thread) build="$root/build/tsan" ;;
  *) build="$root/build/asan" ;;
esac

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRUNE_SANITIZE="$sanitize" -DKESTRUNE_BUILD_TESTS=ON -DKESTRUNE_BUILD_EXAMPLES=ON
cmake --build "$build" -j "$(nproc)"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
