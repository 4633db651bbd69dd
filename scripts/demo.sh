#!/usr/bin/env bash
# Installs what is missing, builds ROS 2 Humble once (or uses /opt/ros/humble),
# colcon-builds the library and the demo into install/, and runs the installed
# host on its default parameters. Arguments are passed to the host, e.g.
#   scripts/demo.sh --duration 8 --output /tmp/costmap_out
#   scripts/demo.sh --ros-args -p inflation_layer.inflation_radius:=0.8
# The costmap image and its YAML land in ./costmap_out unless --output says otherwise.
set -euo pipefail
KESTRUNE_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
caller="$PWD"
# shellcheck source=scripts/ros_env.sh
source "$KESTRUNE_ROOT/scripts/ros_env.sh"
cd "$KESTRUNE_ROOT"

# The same configuration as scripts/test.sh, so that the two share one build.
kestrune_colcon_build --build-base build --install-base install \
  --cmake-args "${KESTRUNE_CMAKE_ARGS[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DKESTRUNE_SANITIZE=
set +u
# shellcheck disable=SC1091
source install/setup.bash
set -u
cd "$caller"
exec "$KESTRUNE_ROOT/install/kestrune_nav2_examples/lib/kestrune_nav2_examples/costmap_host" "$@"
