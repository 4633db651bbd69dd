#!/usr/bin/env bash
# Builds the benchmarks in Release (build/bench), on real ROS 2 Humble, runs them and prints the
# tables kept in bench/README.md. What matters is each ratio: both sides run
# in the same process, their repetitions interleaved at random, and the
# medians are compared; the costmap node is compared with Nav2's own
# Costmap2DROS, the node threads with nav2_util::NodeThread. Absolute times on
# a shared machine are noise. The default run takes under 10 minutes.
#   scripts/bench.sh                             5 repetitions
#   KESTRUNE_BENCH_REPETITIONS=10 scripts/bench.sh
#   KESTRUNE_BENCH_BUILD_DIR=/tmp/bench scripts/bench.sh   another build folder
set -euo pipefail
KESTRUNE_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/ros_env.sh
source "$KESTRUNE_ROOT/scripts/ros_env.sh"
cd "$KESTRUNE_ROOT"

base="${KESTRUNE_BENCH_BUILD_DIR:-$KESTRUNE_ROOT/build/bench}"
repetitions="${KESTRUNE_BENCH_REPETITIONS:-5}"
kestrune_colcon_build --build-base "$base" --install-base "$base/install" \
  --packages-select kestrune_nav2_base_class --cmake-args "${KESTRUNE_CMAKE_ARGS[@]}" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKESTRUNE_BUILD_BENCH=ON
build="$base/kestrune_nav2_base_class"
# The benchmarks' nodes meet nobody else's.
export ROS_DOMAIN_ID="${ROS_DOMAIN_ID:-101}"

load_before="$(cut -d ' ' -f 1-3 /proc/loadavg)"
started="$(date +%s)"
results="$build/results"
mkdir -p "$results"
rm -f "$results"/*.json
for program in logger logger_below_level node_thread costmap; do
  echo "=== kestrune_bench_$program ===" >&2
  # The programs' own output (ROS log lines included) goes to a file; the
  # table below is built from the JSON.
  "$build/bench/kestrune_bench_$program" --benchmark_repetitions="$repetitions" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_out_format=json --benchmark_out="$results/$program.json" \
    > "$results/$program.txt" 2>&1
done

took="$(( $(date +%s) - started ))"
cpu="$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, $(uname -sr); load average before the run: $load_before."
echo "Run: $(date -u '+%Y-%m-%d %H:%M UTC'), $repetitions repetitions, medians; the programs ran for $((took / 60)) min $((took % 60)) s."
echo
awk -f "$KESTRUNE_ROOT/kestrune_nav2_base_class/bench/table.awk" "$results"/*.json
