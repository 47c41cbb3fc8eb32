#!/bin/sh
# The live drive's frame time, as a figure (no pass or fail): vantor-sim drive at 1280x720 with
# SDL's software renderer and no vsync, pinned to core 0, with Xvfb pinned to core 1, driven
# for about 20 s by xdotool: into the car, V round to first person, full throttle down the
# start straight and through its bend, Vantor's menu open for 5 s. Prints the load average
# before and after and the drive's own figures: frames a second, and the work of a drawn frame
# (input, world step, plugin pass, drawing, upload, present; the pacing sleep and the first 60
# frames left out) at the 99th percentile.
# Usage: drive_frame_time.sh VANTOR-SIM OUTPUT-FOLDER
set -eu
sim=$1
out=$2
for tool in Xvfb xdotool taskset; do
  command -v "$tool" >/dev/null || { echo "drive_frame_time: $tool is missing (tools/install-deps)"; exit 1; }
done
cores=$(nproc)
drive_core=0
display_core=$((cores > 1 ? 1 : 0))

fifo=$(mktemp -u)
mkfifo "$fifo"
taskset -c "$display_core" Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$number"
trap 'kill $xvfb 2>/dev/null' EXIT

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
taskset -c "$drive_core" "$sim" drive -o "$out" --window-size 1280x720 --no-plot >"$out.log" 2>&1 &
drive=$!
key() { xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; sleep 0.2; }
xdotool search --sync --name "Vantor drive" windowfocus --sync >/dev/null
key f
key v
key v
xdotool keydown w
sleep 6
xdotool keydown d
sleep 1.5
xdotool keyup d
sleep 2
key F6
sleep 5
key F6
sleep 4
xdotool keyup w
kill -TERM "$drive"
wait "$drive" || { cat "$out.log"; exit 1; }
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
grep -A1 '^speed:' "$out.log"
