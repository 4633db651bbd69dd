#!/usr/bin/env bash
# Installs what is missing, builds the demo host and its layer plugins, and runs
# it on the default configuration. Arguments are passed to the host, e.g.
#   scripts/demo.sh --duration 8 --output /tmp/costmap_out
#   scripts/demo.sh --ros-args -p inflation_layer.inflation_radius:=0.8
# The costmap image and its YAML land in ./costmap_out unless --output says otherwise.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRUNE_SANITIZE= -DKESTRUNE_BUILD_EXAMPLES=ON
cmake --build "$build" -j "$(nproc)" --target costmap_host kestrune_example_layers
exec "$build/examples/costmap_host" "$@"
