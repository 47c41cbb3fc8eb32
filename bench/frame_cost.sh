#!/bin/sh
# Instructions per pass of the plugin under callgrind, for an idle pass, an active pass and an
# active pass with the menu open. Only the measured passes are counted, and of them only the
# plugin's code and the C library it calls: the stub natives' own instructions are subtracted.
set -eu
bench=$1
out=${2:-$(dirname "$bench")/callgrind}
mkdir -p "$out"
passes=200
for scene in idle active menu; do
  "$bench" "$scene" "$passes"
  file="$out/$scene.out"
  valgrind --tool=callgrind --callgrind-out-file="$file" --collect-atstart=no \
    --toggle-collect='*MeasuredPasses*' "$bench" "$scene" "$passes" >/dev/null 2>&1
  total=$(callgrind_annotate --inclusive=no --auto=no "$file" 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }')
  stub=$(callgrind_annotate --inclusive=no --auto=no --threshold=100 "$file" 2>/dev/null |
    awk '/nativeInit|nativePush64|nativeCall|Answer|GetAsyncKeyState|scriptWait|MeasuredPasses/ { gsub(",", "", $1); s += $1 } END { print s + 0 }')
  echo "$scene: $(( (total - stub) / passes )) instructions per pass (plugin and C library; stub natives excluded)"
done
