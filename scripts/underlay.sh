#!/usr/bin/env bash
# Prints the folder whose setup.bash gives ROS 2 Humble + Nav2 costmap, building
# it first when needed. /opt/ros/humble wins when it exists; otherwise the
# sources in ros2-humble/src.tar.xz (the shared folder beside this repository,
# or KESTRUNE_ROS_SOURCES) are built once with colcon and cached outside the
# repository, keyed by the archive's checksum:
#   ${KESTRUNE_UNDERLAY_CACHE:-~/.cache/kestrune}/ros2-humble-<sha256 prefix>/install
# Build output goes to stderr; stdout holds only the folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

if [ -f /opt/ros/humble/setup.bash ]; then
  echo /opt/ros/humble
  exit 0
fi

# The sources: KESTRUNE_ROS_SOURCES, or the shared folder beside this checkout
# (or beside its parent, or the workplace's own).
sources="${KESTRUNE_ROS_SOURCES:-}"
if [ -z "$sources" ]; then
  for candidate in "$root/../shared" "$root/../../shared" /work/shared; do
    if [ -f "$candidate/ros2-humble/src.tar.xz" ]; then
      sources="$candidate/ros2-humble/src.tar.xz"
      break
    fi
  done
fi
cache="${KESTRUNE_UNDERLAY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrune}"
if [ -z "$sources" ] || [ ! -f "$sources" ]; then
  # Without the sources, an underlay built from them earlier still serves.
  cached="$(ls -d "$cache"/ros2-humble-*/.complete 2>/dev/null | tail -n 1)"
  if [ -n "$cached" ]; then
    echo "ROS 2 Humble sources not found; using the underlay built earlier in $(dirname "$cached")." >&2
    echo "$(dirname "$cached")/install"
    exit 0
  fi
  echo "No ROS 2 Humble: /opt/ros/humble/setup.bash does not exist, and neither the sources" \
    "ros2-humble/src.tar.xz (looked for in ../shared beside this checkout; set" \
    "KESTRUNE_ROS_SOURCES) nor an underlay built from them in $cache." >&2
  exit 1
fi

checksum="$(sha256sum "$sources" | cut -c 1-16)"
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
