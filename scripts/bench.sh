#!/usr/bin/env bash
# Benchmarks of the imaging engine and the folder scan, each next to a reference tool run on the
# same files in the same run. Usage: scripts/bench.sh [BUILD_DIR]   (make bench passes it)
# Environment: BENCH_WORKERS (default 2), BENCH_PHOTOS (default 200), BENCH_RUNS (default 3).
# The reference set is made once under BUILD_DIR/bench-data; delete that folder to remake it.
set -euo pipefail

BUILD_DIR=${1:-build}
BENCH="$BUILD_DIR/bench/glimmerbook-bench"
DATA="$BUILD_DIR/bench-data"
WORKERS=${BENCH_WORKERS:-2}
PHOTOS=${BENCH_PHOTOS:-200}
RUNS=${BENCH_RUNS:-3}

if [ ! -x "$BENCH" ]; then
    echo "bench: $BENCH is missing; build the glimmerbook-bench target first" >&2
    exit 1
fi
for tool in vipsthumbnail djpeg find xargs awk; do
    if ! command -v "$tool" > /dev/null; then
        echo "bench: $tool is missing (packages libvips-tools, libjpeg-turbo-progs)" >&2
        exit 1
    fi
done

if [ ! -f "$DATA/.complete" ]; then
    echo "== making the reference set in $DATA (once)"
    rm -rf "$DATA"
    mkdir -p "$DATA"
    "$BENCH" make-reference "$DATA" --photos "$PHOTOS"
    touch "$DATA/.complete"
fi

now() { date +%s.%N; }
# value of key=NUMBER in the last line that has it
field() { tr ' ' '\n' | sed -n "s/^$1=//p" | tail -n 1; }
secs() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", b - a }'; }
calc() { awk "BEGIN { printf \"%.2f\", $1 }"; }
max() { awk -v a="$1" -v b="$2" 'BEGIN { print (a > b ? a : b) }'; }
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b ? a : b) }'; }

shopt -s nullglob
files=("$DATA"/photos/*.jpg)
count=${#files[@]}
per_worker=$(( (count + WORKERS - 1) / WORKERS ))
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Every contender reads from the page cache, not the disk.
cat "${files[@]}" "$DATA"/mixed/* > /dev/null

echo "== thumbnail: $count photos of 4000 x 3000, $WORKERS workers, best of $RUNS runs"
ours=0
ours_rss=0
for _ in $(seq "$RUNS"); do
    out=$("$BENCH" thumbnail "$DATA/photos" --workers "$WORKERS" | tail -n 1)
    ours=$(max "$ours" "$(echo "$out" | field per_s)")
    ours_rss=$(max "$ours_rss" "$(echo "$out" | field peak_rss_mb)")
done
echo "glimmerbook-bench thumbnail   $ours photos/s   peak RSS $ours_rss MB"

# vipsthumbnail: one process per worker, each with one thread, writing 98-pixel JPEGs.
vips=0
for _ in $(seq "$RUNS"); do
    rm -f "$scratch"/*
    t0=$(now)
    printf '%s\0' "${files[@]}" | VIPS_CONCURRENCY=1 xargs -0 -n "$per_worker" -P "$WORKERS" \
        vipsthumbnail -s 98 -o "$scratch/%s.jpg[Q=75]"
    t1=$(now)
    vips=$(max "$vips" "$(calc "$count / $(secs "$t0" "$t1")")")
done
echo "vipsthumbnail -s 98           $vips photos/s"

# djpeg: the libjpeg decode at 1/8 scale alone, the floor of any thumbnail path.
djpeg=0
for _ in $(seq "$RUNS"); do
    t0=$(now)
    printf '%s\0' "${files[@]}" | xargs -0 -n "$per_worker" -P "$WORKERS" \
        sh -c 'for f; do djpeg -scale 1/8 "$f" > /dev/null; done' sh
    t1=$(now)
    djpeg=$(max "$djpeg" "$(calc "$count / $(secs "$t0" "$t1")")")
done
echo "djpeg -scale 1/8 (decode)     $djpeg photos/s"

echo "ratio to vipsthumbnail        $(calc "$ours / $vips")   (target >= 1.15)"
echo "ratio to djpeg decode alone   $(calc "$ours / $djpeg")   (target >= 0.80)"
echo "peak memory, $WORKERS workers      $ours_rss MB   (target < 150)"

echo "== thumbnail: the other formats (information only)"
"$BENCH" thumbnail "$DATA/mixed" --workers "$WORKERS" | tail -n 1

echo "== scan: $DATA/scan, best of 5"
scan=1000
for _ in 1 2 3 4 5; do
    scan=$(min "$scan" "$("$BENCH" scan "$DATA/scan" | field seconds)")
done
found=1000
for _ in 1 2 3 4 5; do
    t0=$(now)
    find "$DATA/scan" -maxdepth 1 -type f > /dev/null
    t1=$(now)
    found=$(min "$found" "$(secs "$t0" "$t1")")
done
echo "glimmerbook-bench scan        $scan s"
echo "find -maxdepth 1 -type f      $found s (including its start-up)"
echo "ratio to find                 $(calc "$scan / $found")   (target < 2)"
