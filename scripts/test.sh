#!/usr/bin/env bash
# Installs what is missing, builds ROS 2 Humble once (or uses /opt/ros/humble),
# colcon-builds the library and the demo with their tests, runs every test and
# ends with colcon's summary; the status is non-zero on any failure.
#   scripts/test.sh                                        build/ and install/
#   KESTRUNE_SANITIZE=address,undefined scripts/test.sh    build-asan/
#   KESTRUNE_SANITIZE=thread scripts/test.sh               build-tsan/
set -euo pipefail
KESTRUNE_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/ros_env.sh
source "$KESTRUNE_ROOT/scripts/ros_env.sh"
cd "$KESTRUNE_ROOT"

sanitize="${KESTRUNE_SANITIZE:-}"
case "$sanitize" in
  "") base="$KESTRUNE_ROOT/build"; install="$KESTRUNE_ROOT/install" ;;
  thread) base="$KESTRUNE_ROOT/build-tsan"; install="$base/install" ;;
  *) base="$KESTRUNE_ROOT/build-asan"; install="$base/install" ;;
esac
paths=(--build-base "$base" --install-base "$install")

# shellcheck source=scripts/sanitizers/options.sh
source "$KESTRUNE_ROOT/scripts/sanitizers/options.sh"

started=$SECONDS
kestrune_colcon_build "${paths[@]}" --cmake-args "${KESTRUNE_CMAKE_ARGS[@]}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DKESTRUNE_SANITIZE="$sanitize"
echo "Built in $((SECONDS - started)) s." >&2

started=$SECONDS
# colcon test-result reads every CTest result file it finds: only this run's.
find "$base" -mindepth 2 -maxdepth 2 -name Testing -type d -exec rm -rf {} +
# Most tests wait on DDS and timers rather than compute: more at once than cores.
colcon test --base-paths "$KESTRUNE_ROOT" "${paths[@]}" --executor sequential \
  --event-handlers console_direct- \
  --ctest-args -j 4 --output-on-failure --timeout 600
echo "Tested in $((SECONDS - started)) s." >&2
colcon test-result --test-result-base "$base" --verbose
