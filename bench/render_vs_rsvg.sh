#!/bin/sh
# Renders the mixed scene of 10 000 and 100 000 objects to PNG with vkdtool, writes the
# same scene as SVG with vkdtool and renders that SVG to PNG with rsvg-convert, and
# prints wall-clock and CPU seconds of each, best of RUNS, with the load average.
#   bench/render_vs_rsvg.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build}
runs=${2:-3}
bin=$build/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing (librsvg2-bin)" >&2; exit 2; }
export QT_QPA_PLATFORM=offscreen

# Best wall-clock and CPU (user + system) seconds of a command over $runs runs.
best() {
    best_wall=999999
    best_cpu=999999
    i=0
    while [ $i -lt "$runs" ]; do
        /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null 2>&1
        read -r wall user sys <"$work/time"
        cpu=$(echo "$user + $sys" | bc)
        best_wall=$(echo "if ($wall < $best_wall) $wall else $best_wall" | bc)
        best_cpu=$(echo "if ($cpu < $best_cpu) $cpu else $best_cpu" | bc)
        i=$((i + 1))
    done
}

echo "cores: $(nproc), load: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-8s %-26s %9s %9s\n' objects step wall_s cpu_s
for count in 10000 100000; do
    "$bin/make_bench_scene" "$work/scene.vkd" $count
    "$bin/vkdtool" render "$work/scene.vkd" "$work/scene.svg" 2>/dev/null
    best "$bin/vkdtool" render "$work/scene.vkd" "$work/ours.png"
    ours_wall=$best_wall ours_cpu=$best_cpu
    printf '%-8s %-26s %9s %9s\n' $count "vkdtool render PNG" "$ours_wall" "$ours_cpu"
    best "$bin/vkdtool" render "$work/scene.vkd" "$work/again.svg"
    printf '%-8s %-26s %9s %9s\n' $count "vkdtool render SVG" "$best_wall" "$best_cpu"
    best rsvg-convert -o "$work/rsvg.png" "$work/scene.svg"
    printf '%-8s %-26s %9s %9s\n' $count "rsvg-convert SVG to PNG" "$best_wall" "$best_cpu"
    printf '%-8s %-26s %9s %9s\n' $count "rsvg / vkdtool" \
        "$(echo "scale=2; $best_wall / $ours_wall" | bc)" \
        "$(echo "scale=2; $best_cpu / $ours_cpu" | bc)"
    echo "$count objects: SVG $(stat -c %s "$work/scene.svg") bytes," \
        "our PNG $(stat -c %s "$work/ours.png") bytes"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
