#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz (AddressSanitizer and
# UndefinedBehaviorSanitizer on everything they call into) and runs each for a
# bounded time, seeded from examples/fuzz/corpus/ and examples/maps/. A crash ends the
# run with a non-zero status and its input saved as
# build/fuzz/artifacts/<target>/crash-*; rerun that input with
# build/fuzz/fuzz/<target> <file>, and add it to the tests in examples/test/.
#   scripts/fuzz.sh                            every target, 60 s each
#   KESTRUNE_FUZZ_SECONDS=30 scripts/fuzz.sh   every target, 30 s each
#   scripts/fuzz.sh fuzz_map_pgm               one target
#   KESTRUNE_FUZZ_BUILD_DIR=/tmp/fuzz scripts/fuzz.sh   another build folder
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
# The map loader needs no ROS; ament's CMake (Debian's) wants Debian's Python.
export PATH="/usr/bin:$PATH"

seconds="${KESTRUNE_FUZZ_SECONDS:-60}"
build="${KESTRUNE_FUZZ_BUILD_DIR:-$root/build/fuzz}"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_map_yaml fuzz_map_pgm)
fi

cmake -S "$root/examples" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPython3_EXECUTABLE=/usr/bin/python3 \
  -DKESTRUNE_SANITIZE=address,undefined -DKESTRUNE_BUILD_FUZZ=ON
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

# Seeds per target, gathered in the build tree so that the maps' images do not
# end up in the YAML corpus and the other way round.
seed_files() {
  case "$1" in
    fuzz_map_yaml) echo "$root"/examples/fuzz/corpus/map_yaml/* "$root"/examples/maps/*.yaml ;;
    fuzz_map_pgm) echo "$root"/examples/fuzz/corpus/map_pgm/* "$root"/examples/maps/*.pgm ;;
  esac
}
dictionary() {
  case "$1" in
    fuzz_map_yaml) echo "-dict=$root/examples/fuzz/map_yaml.dict" ;;
    fuzz_map_pgm) echo "-dict=$root/examples/fuzz/map_pgm.dict" ;;
  esac
}

status=0
for target in "${targets[@]}"; do
  seeds="$build/seeds/$target"
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  rm -rf "$seeds"
  mkdir -p "$seeds" "$corpus" "$artifacts"
  # shellcheck disable=SC2046
  cp $(seed_files "$target") "$seeds/"
  echo "=== $target: ${seconds} s ==="
  # shellcheck disable=SC2046
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$artifacts/" $(dictionary "$target") \
      "$corpus" "$seeds"; then
    echo "=== $target: FAILED, input saved in $artifacts/ ==="
    status=1
  fi
done
exit $status
