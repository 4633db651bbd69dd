# Sourced by the other scripts: installs what is missing from Debian, finds or
# builds ROS 2 Humble (scripts/underlay.sh) and sets up the shell every build,
# test and demo of this repository runs in.
#   KESTRUNE_ROOT   the repository (set by the sourcing script)

"$KESTRUNE_ROOT/scripts/install-deps.sh"
KESTRUNE_UNDERLAY="$("$KESTRUNE_ROOT/scripts/underlay.sh")"
export KESTRUNE_UNDERLAY

# ROS's setup scripts read unset variables.
set +u
# shellcheck disable=SC1091
source "$KESTRUNE_UNDERLAY/setup.bash"
set -u

# colcon and ament run on Debian's Python, whatever python3 comes first.
export PATH="/usr/bin:$PATH"
export RMW_IMPLEMENTATION=rmw_cyclonedds_cpp
# DDS traffic never leaves this machine.
export ROS_LOCALHOST_ONLY=1
export ROS_LOG_DIR="${ROS_LOG_DIR:-$KESTRUNE_ROOT/build/ros_log}"
export COLCON_LOG_PATH="${COLCON_LOG_PATH:-$KESTRUNE_ROOT/build/colcon_log}"
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

# colcon build over this repository's two packages, with the arguments given.
kestrune_colcon_build() {
  colcon build --base-paths "$KESTRUNE_ROOT" --event-handlers console_direct- \
    --executor sequential "$@"
}

# The CMake arguments every build of this repository takes.
KESTRUNE_CMAKE_ARGS=(-G Ninja -DPython3_EXECUTABLE=/usr/bin/python3
  -DPYTHON_EXECUTABLE=/usr/bin/python3)
