#!/bin/sh
# The lines of src/ that a corpus of the plugin fuzzer reaches, measured with llvm-cov on the
# coverage build (preset fuzz-coverage): every input of the given folders runs once. Writes the
# per-file summary to build/fuzz-coverage/coverage/report.txt and every line never run, as
# file:line: code, to unreached.txt beside it; prints the summary's total.
#   tests/fuzz/coverage.sh CORPUS-FOLDER...
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
corpora=""
for folder in "$@"; do corpora="$corpora $(realpath "$folder")"; done
cd "$root"
cmake --preset fuzz-coverage > /dev/null
cmake --build --preset fuzz-coverage > /dev/null
build=$root/build/fuzz-coverage
out=$build/coverage
rm -rf "$out"
mkdir -p "$out/raw"

# One profile per module (the program and the plugin), merged.
# shellcheck disable=SC2086
LLVM_PROFILE_FILE="$out/raw/%m-%p.profraw" "$build/tests/fuzz/plugin_fuzz" -runs=0 -max_len=1000000 $corpora \
  > "$out/run.log" 2>&1
llvm-profdata-14 merge -sparse "$out"/raw/*.profraw -o "$out/plugin.profdata"
plugin=$build/src/libvantor.so
llvm-cov-14 report "$plugin" -instr-profile="$out/plugin.profdata" "$root/src" > "$out/report.txt"
llvm-cov-14 show "$plugin" -instr-profile="$out/plugin.profdata" "$root/src" -show-line-counts \
  | awk -v root="$root/" '
      /^\/.*:$/ { file = substr($0, 1, length($0) - 1); sub(root, "", file); next }
      { split($0, part, "|") }
      part[2] ~ /^ *0 *$/ { line = part[1]; gsub(/ /, "", line); code = substr($0, index($0, part[3]));
                            sub(/^ /, "", code); print file ":" line ": " code }' > "$out/unreached.txt"
grep '^TOTAL' "$out/report.txt"
echo "unreached lines: $(wc -l < "$out/unreached.txt") (in $out/unreached.txt)"
