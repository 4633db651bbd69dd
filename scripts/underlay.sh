#!/usr/bin/env bash
# Prints the folder whose setup.bash gives ROS 2 Humble + Nav2 costmap, building
# it first when needed. /opt/ros/humble wins when it exists; otherwise the
# sources in ros2-humble/src.tar.xz (next to this repository, or
# KESTRUNE_ROS_SOURCES) are built once with colcon and cached outside the
# repository, keyed by the archive's checksum:
#   ${KESTRUNE_UNDERLAY_CACHE:-~/.cache/kestrune}/ros2-humble-<sha256 prefix>/install
# Build output goes to stderr; stdout holds only the folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

if [ -f /opt/ros/humble/setup.bash ]; then
  echo /opt/ros/humble
  exit 0
fi

sources="${KESTRUNE_ROS_SOURCES:-$root/../shared/ros2-humble/src.tar.xz}"
if [ ! -f "$sources" ]; then
  echo "No ROS 2 Humble: /opt/ros/humble/setup.bash does not exist and the underlay sources" \
    "'$sources' are missing (set KESTRUNE_ROS_SOURCES to the ros2-humble src.tar.xz)." >&2
  exit 1
fi

checksum="$(sha256sum "$sources" | cut -c 1-16)"
cache="${KESTRUNE_UNDERLAY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrune}"
underlay="$cache/ros2-humble-$checksum"
if [ -f "$underlay/install/setup.bash" ] && [ -f "$underlay/.complete" ]; then
  echo "$underlay/install"
  exit 0
fi

# Installed in its final place (colcon's scripts and CMake configs hold their
# prefix); the marker written last keeps an interrupted build from being taken
# for a cached one.
mkdir -p "$cache"
rm -rf "$underlay"
work="$(mktemp -d "$cache/.building-XXXXXX")"
trap 'rm -rf "$work"' EXIT
echo "Building the ROS 2 Humble underlay in $underlay (7 to 14 minutes on 2 cores)..." >&2
tar -xJf "$sources" -C "$work"
src_parent="$work"
if [ ! -d "$work/src" ]; then
  src_parent="$(dirname "$(find "$work" -maxdepth 3 -type d -name src | head -n 1)")"
fi
started=$SECONDS
# colcon and ament need Debian's Python and its modules, whatever python3 comes first.
(cd "$src_parent" && PATH=/usr/bin:$PATH MAKEFLAGS="-j$(nproc)" colcon build --merge-install \
  --build-base "$work/build" --install-base "$underlay/install" \
  --executor parallel --parallel-workers 1 --packages-up-to nav2_costmap_2d \
  --event-handlers console_direct- \
  --cmake-args -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_C_FLAGS_RELEASE=-O1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG" \
  -DPython3_EXECUTABLE=/usr/bin/python3 -DPYTHON_EXECUTABLE=/usr/bin/python3 \
  -DTRACETOOLS_DISABLED=ON -DRMW_IMPLEMENTATION=rmw_cyclonedds_cpp) >&2
echo "$((SECONDS - started))" > "$underlay/.build-seconds"
touch "$underlay/.complete"
echo "Underlay built in $((SECONDS - started)) s." >&2
echo "$underlay/install"
