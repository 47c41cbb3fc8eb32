#!/bin/sh
# Runs a fuzzer for a while from its seeds; new finds go to a working corpus in the build
# folder, so the seeds stay as they are, and a crash's input beside it. Paths are made absolute:
# the plugin fuzzer works in a folder of its own.
#   run_fuzz.sh FUZZER SEEDS WORK SECONDS MAX-LEN [libFuzzer options...]
set -eu
fuzzer=$1
seeds=$(realpath "$2")
mkdir -p "$3"
work=$(realpath "$3")
seconds=$4
max_len=$5
shift 5
exec "$fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$work-" "$@" "$work" "$seeds"
