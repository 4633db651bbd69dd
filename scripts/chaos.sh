#!/usr/bin/env bash
# The randomized lifecycle test as a soak: ROUNDS rounds of every host pattern
# (host thread, change_state, multi-threaded executor, spin_some loop, busy
# neighbour, both transition sources, from a default-group callback) for this
# library's costmap node and, side by side in the same harness, UPSTREAM_ROUNDS
# for upstream's Costmap2DROS (most of whose rounds crash, slowly). Each run has
# a DDS domain of its own and prints its failing rounds (seed, replay command,
# the end of the operation log) into its log, and a summary per pattern here.
#   scripts/chaos.sh [ROUNDS [UPSTREAM_ROUNDS]]   1500 and ROUNDS/10 by default
#   KESTRUNE_CHAOS_SEED=500 scripts/chaos.sh      first seed (1 by default)
#   KESTRUNE_SANITIZE=address,undefined|thread scripts/chaos.sh 100   a sanitized build
# The status is non-zero when a round of this library's node failed.
set -euo pipefail
KESTRUNE_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/ros_env.sh
source "$KESTRUNE_ROOT/scripts/ros_env.sh"
# shellcheck source=scripts/sanitizers/options.sh
source "$KESTRUNE_ROOT/scripts/sanitizers/options.sh"
cd "$KESTRUNE_ROOT"

rounds="${1:-1500}"
upstream_rounds="${2:-$(( (rounds + 9) / 10 ))}"
seed="${KESTRUNE_CHAOS_SEED:-1}"
sanitize="${KESTRUNE_SANITIZE:-}"
case "$sanitize" in
  "") base="$KESTRUNE_ROOT/build"; install="$KESTRUNE_ROOT/install" ;;
  thread) base="$KESTRUNE_ROOT/build-tsan"; install="$base/install" ;;
  *) base="$KESTRUNE_ROOT/build-asan"; install="$base/install" ;;
esac
kestrune_colcon_build --build-base "$base" --install-base "$install" \
  --packages-select kestrune_nav2_base_class --cmake-args "${KESTRUNE_CMAKE_ARGS[@]}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DKESTRUNE_SANITIZE="$sanitize"
chaos="$base/kestrune_nav2_base_class/test/kestrune_chaos"
logs="$base/chaos"
mkdir -p "$logs"

started=$SECONDS
"$chaos" --rounds "$rounds" --seed "$seed" --pattern all > "$logs/ours.log" 2>&1 &
ours=$!
"$chaos" --rounds "$upstream_rounds" --seed "$seed" --pattern all --upstream \
  > "$logs/upstream.log" 2>&1 &
upstream=$!
status=0
wait "$ours" || status=1
wait "$upstream" || true
for log in "$logs/ours.log" "$logs/upstream.log"; do
  sed -n '/ node, seeds /,$p' "$log"
done
echo "Ran in $((SECONDS - started)) s; failing rounds, with their seeds, are in $logs/." >&2
exit "$status"
