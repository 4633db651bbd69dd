#!/usr/bin/env bash
# The randomized lifecycle test as a soak: ROUNDS rounds of each threading
# pattern (transitions from the host's thread; transitions through
# change_state) for this library's costmap node and, in the same harness, for
# upstream's Costmap2DROS. The four runs go side by side, each in a DDS domain
# of its own; each prints its failing rounds (seed, replay command, the end of
# the operation log) into its log and one summary line here.
#   scripts/chaos.sh [ROUNDS]                  10000 by default
#   KESTRUNE_CHAOS_SEED=500 scripts/chaos.sh   first seed (1 by default)
#   KESTRUNE_SANITIZE=address,undefined|thread scripts/chaos.sh 100   a sanitized build
# The status is non-zero when a round of this library's node failed.
set -euo pipefail
KESTRUNE_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/ros_env.sh
source "$KESTRUNE_ROOT/scripts/ros_env.sh"
# shellcheck source=scripts/sanitizers/options.sh
source "$KESTRUNE_ROOT/scripts/sanitizers/options.sh"
cd "$KESTRUNE_ROOT"

rounds="${1:-10000}"
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
pids=()
for subject in ours upstream; do
  for pattern in host-thread change-state; do
    flag=""
    if [ "$subject" = upstream ]; then flag="--upstream"; fi
    # shellcheck disable=SC2086
    "$chaos" --rounds "$rounds" --seed "$seed" --pattern "$pattern" $flag \
      > "$logs/$subject-$pattern.log" 2>&1 &
    pids+=($!)
  done
done
status=0
for index in "${!pids[@]}"; do
  if ! wait "${pids[$index]}" && [ "$index" -lt 2 ]; then
    status=1
  fi
done
for log in "$logs"/ours-*.log "$logs"/upstream-*.log; do
  tail -n 1 "$log"
done
echo "Ran in $((SECONDS - started)) s; failing rounds, with their seeds, are in $logs/." >&2
exit "$status"
