#!/bin/sh
# Runs the settings fuzzer for a while from the seed corpus; new finds go to a working corpus
# in the build folder, so the seeds in the tree stay as written.
set -eu
fuzzer=$1
seeds=$2
work=$3
seconds=$4
mkdir -p "$work"
exec "$fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 "$work" "$seeds"
