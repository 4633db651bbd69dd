#!/usr/bin/env bash
# Builds the consumer package against the library installed in $1, in the
# folder $2, as a user's colcon workspace would, then runs both programs.
set -euo pipefail
install_prefix="$1"
build="$2"
here="$(cd "$(dirname "$0")" && pwd)"

# A DDS domain no other test process holds, for as long as this script runs.
mkdir -p /tmp/kestrune_ros_domains
claimed=""
for domain in $(seq 1 100); do
  exec 9> "/tmp/kestrune_ros_domains/$domain.lock"
  if flock -n 9; then
    claimed=$domain
    break
  fi
  exec 9>&-
done
if [ -z "$claimed" ]; then
  echo "every ROS domain from 1 to 100 is held by another test process (/tmp/kestrune_ros_domains)" >&2
  exit 1
fi
export ROS_DOMAIN_ID=$claimed

export CMAKE_PREFIX_PATH="$install_prefix${CMAKE_PREFIX_PATH:+:$CMAKE_PREFIX_PATH}"
export AMENT_PREFIX_PATH="$install_prefix${AMENT_PREFIX_PATH:+:$AMENT_PREFIX_PATH}"
export LD_LIBRARY_PATH="$install_prefix/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
rm -rf "$build"
PATH=/usr/bin:$PATH cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DPython3_EXECUTABLE=/usr/bin/python3 > "$build.log" 2>&1 || { cat "$build.log"; exit 1; }
cmake --build "$build" -j 2 >> "$build.log" 2>&1 || { cat "$build.log"; exit 1; }

for program in uses_ament_dependencies uses_exported_target; do
  output="$(SPDLOG_STDOUT=true SPDLOG_SYSTEMD=false SPDLOG_LEVEL=info "$build/$program")"
  echo "$program: $output"
  expected="consumer ran: costmap /consumer_costmap/consumer_costmap in the lifecycle state unconfigured, some timer ticks"
  if [[ "$output" != *"$expected" ]]; then
    echo "$program printed no '$expected'" >&2
    exit 1
  fi
done
