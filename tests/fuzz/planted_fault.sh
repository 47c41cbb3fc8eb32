#!/bin/sh
# Shows that the plugin fuzzer finds a fault planted behind several conditions: an out-of-bounds
# read only when a vehicle of class 16 is entered while the menu is open and V is held
# (planted_fault.patch). Copies the tree into a scratch folder, plants the fault there, builds
# the fuzz preset, fuzzes from the scenario seeds with one worker until the sanitizers report
# the read, and prints how long that took. Gives up after LIMIT seconds (default 1800).
#   tests/fuzz/planted_fault.sh [LIMIT]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
limit=${1:-1800}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

git -C "$root" ls-files -z | (cd "$root" && xargs -0 cp --parents -t "$scratch")
patch -s -d "$scratch" -p1 < "$root/tests/fuzz/planted_fault.patch"
(cd "$scratch" && cmake --preset fuzz > /dev/null && cmake --build build/fuzz -j "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}" --target plugin_fuzz plugin_fuzz_seeds > /dev/null)

fuzz="$scratch/build/fuzz/tests/fuzz"
mkdir "$scratch/corpus"
start=$(date +%s)
status=0
"$fuzz/plugin_fuzz" -max_total_time="$limit" -max_len=24576 -timeout=10 -artifact_prefix="$scratch/" \
  "$scratch/corpus" "$fuzz/plugin-seeds" > "$scratch/fuzz.log" 2>&1 || status=$?
seconds=$(($(date +%s) - start))
if [ "$status" -ne 0 ] && grep -q "out of bounds\|buffer-overflow" "$scratch/fuzz.log"; then
  grep -m1 "runtime error\|ERROR: AddressSanitizer" "$scratch/fuzz.log"
  echo "planted fault found after $seconds s"
else
  tail -5 "$scratch/fuzz.log"
  echo "planted fault not found in $seconds s"
  exit 1
fi
