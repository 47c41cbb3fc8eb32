#!/bin/sh
# The Windows build reads every settings number as the Linux build does, and the Linux build as
# glibc's strtof does (its bits and the bytes it took): together, Windows reads as strtof.
# Usage: windows_settings_numbers.sh <wine64> <prefix> <linux program> <windows program> <count> <seed> <folder>
set -eu
wine=$1 prefix=$2 linux=$3 windows=$4 count=$5 seed=$6 folder=$7
rm -rf "$folder"
mkdir -p "$folder"
cd "$folder"
unset DISPLAY WAYLAND_DISPLAY
"$linux" generate "$count" "$seed" numbers.txt
"$linux" read numbers.txt linux.txt
"$linux" strtof numbers.txt strtof.txt
WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  timeout 90 "$wine" "$windows" read numbers.txt windows.txt
cut -d' ' -f1,2 linux.txt > linux-numbers.txt
# The first difference, with the string read.
differ() {
  line=$(cmp "$1" "$2" | sed -n 's/.* line \([0-9]*\).*/\1/p')
  [ -n "$line" ] || return 1
  printf '%s and %s differ at line %s, reading "%s":\n  %s\n  %s\n' "$1" "$2" "$line" \
    "$(sed -n "${line}p" numbers.txt)" "$(sed -n "${line}p" "$1")" "$(sed -n "${line}p" "$2")"
}
fail=0
for output in linux.txt windows.txt strtof.txt; do
  [ "$(wc -l < $output)" -eq "$count" ] || { echo "$output has $(wc -l < $output) of $count lines"; fail=1; }
done
differ linux.txt windows.txt && fail=1
differ linux-numbers.txt strtof.txt && fail=1
[ $fail -eq 0 ] && echo "$count strings: Windows, Linux and strtof agree"
exit $fail
