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
for tool in vipsthumbnail djpeg find xargs awk /usr/bin/time; do
    if ! command -v "$tool" > /dev/null; then
        echo "bench: $tool is missing (packages libvips-tools, libjpeg-turbo-progs, time)" >&2
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

# Runs a command under GNU time; sets WALL and CPU (user + system, children included) seconds.
timed() {
    /usr/bin/time -f "%e %U %S" -o "$scratch/time" "$@" > "$scratch/out"
    read -r WALL user sys < "$scratch/time"
    CPU=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.3f", u + s }')
}

# Best of RUNS for one contender: sets RATE (photos per wall second) and CPURATE (photos per CPU
# second, the figure that stays steady when other work shares the machine).
contend() {
    RATE=0
    CPURATE=0
    for _ in $(seq "$RUNS"); do
        rm -f "$scratch"/*.jpg
        timed "$@"
        RATE=$(max "$RATE" "$(calc "$count / $WALL")")
        CPURATE=$(max "$CPURATE" "$(calc "$count / $CPU")")
    done
}

echo "== thumbnail: $count photos of 4000 x 3000, $WORKERS workers, best of $RUNS runs"
echo "   (photos/s by the clock, and per CPU second: the machine may be shared)"
contend "$BENCH" thumbnail "$DATA/photos" --workers "$WORKERS"
ours=$RATE
ours_cpu=$CPURATE
ours_rss=$(field peak_rss_mb < "$scratch/out")
echo "glimmerbook-bench thumbnail   $ours photos/s   $ours_cpu per CPU s   peak RSS $ours_rss MB"

# vipsthumbnail: one process per worker, each with one thread, writing 98-pixel JPEGs.
contend sh -c 'n=$0 p=$1 out=$2; shift 2; printf "%s\0" "$@" |
    VIPS_CONCURRENCY=1 xargs -0 -n "$n" -P "$p" vipsthumbnail -s 98 -o "$out/%s.jpg[Q=75]"' \
    "$per_worker" "$WORKERS" "$scratch" "${files[@]}"
vips=$RATE
vips_cpu=$CPURATE
echo "vipsthumbnail -s 98           $vips photos/s   $vips_cpu per CPU s"

# djpeg: the libjpeg decode at 1/8 scale alone, the floor of any thumbnail path.
contend sh -c 'n=$0 p=$1; shift; printf "%s\0" "$@" | xargs -0 -n "$n" -P "$p" \
    sh -c '"'"'for f; do djpeg -scale 1/8 "$f" > /dev/null; done'"'"' sh' \
    "$per_worker" "$WORKERS" "${files[@]}"
djpeg=$RATE
djpeg_cpu=$CPURATE
echo "djpeg -scale 1/8 (decode)     $djpeg photos/s   $djpeg_cpu per CPU s"

echo "ratio to vipsthumbnail        $(calc "$ours / $vips") by the clock, $(calc "$ours_cpu / $vips_cpu") per CPU s   (target >= 1.15)"
echo "ratio to djpeg decode alone   $(calc "$ours / $djpeg") by the clock, $(calc "$ours_cpu / $djpeg_cpu") per CPU s   (target >= 0.80)"
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

# The catalogue builder and opening a catalogued album work on a program home of their own.
export GLIMMERBOOK_HOME="$DATA/home"
mkdir -p "$GLIMMERBOOK_HOME"

echo "== catalogue: $count photos, $WORKERS workers, best of $RUNS runs"
contend "$BENCH" catalogue "$DATA/photos" --workers "$WORKERS"
cat_rate=$RATE
cat_cpu=$CPURATE
cat_rss=$(field peak_rss_mb < "$scratch/out")
echo "glimmerbook-bench catalogue   $cat_rate photos/s   $cat_cpu per CPU s   peak RSS $cat_rss MB"
echo "ratio to vipsthumbnail        $(calc "$cat_rate / $vips") by the clock, $(calc "$cat_cpu / $vips_cpu") per CPU s   (target >= 1.1)"

# A 5,000-photo album made of hard links to the reference photos, catalogued once.
ALBUM="$DATA/album5000"
if [ ! -f "$ALBUM/.catalogued" ]; then
    echo "== making and cataloguing a 5,000-photo album in $ALBUM (once)"
    rm -rf "$ALBUM"
    mkdir -p "$ALBUM"
    for i in $(seq 0 4999); do
        ln "${files[$((i % count))]}" "$ALBUM/$(printf 'photo_%05d.jpg' "$i")"
    done
    "$BENCH" catalogue "$ALBUM" --workers "$WORKERS" | tail -n 1
    touch "$ALBUM/.catalogued"
fi

echo "== open-album: 5,000 catalogued photos, best of $RUNS runs"
best=1000
for _ in $(seq "$RUNS"); do
    "$BENCH" open-album "$ALBUM" > "$scratch/out"
    best=$(min "$best" "$(field seconds < "$scratch/out")")
done
echo "glimmerbook-bench open-album  $best s   peak RSS $(field peak_rss_mb < "$scratch/out") MB   (targets < 1 s, < 250 MB)"
echo "first screen after            $(field first_screen_s < "$scratch/out") s"
echo "ratio to plain read+decode    $(field ratio_to_plain < "$scratch/out")   (target < 2)"
