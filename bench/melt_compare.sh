#!/bin/bash
# The whole generation of a video of the bench's 16 photographs against
# MLT's melt making a slideshow of the same pictures, side by side.
#
#   bench/melt_compare.sh [BUILD_DIR] [RUNS] [SIZE...]
#
# Both orderings of the photographs are timed: "photographs" (the first
# effects of the table, no captions) and "photographs-mixed" (effects from
# the whole table, a caption on every third picture); LISTS in the
# environment names fewer. BENCH_OPTIONS are passed on to generation_bench
# (--imagemagick-only for the control).
# BUILD_DIR holds bench/generation_bench (default build-rel, configured
# with -DTEVRAKO_BENCH=ON); RUNS (3) alternating runs of each; SIZEs
# (800x800 1080x1440). Needs melt (apt-get install melt) and the
# photographs' wallpaper packages (see bench/photographs.h).
#
# melt shows each photograph as long as it stays in the program's video,
# with 25-frame luma dissolves between them, and encodes with libx264 to
# yuv420p at 25 frames per second, so both videos have the same frame
# count. Prints, per list and size, the medians of both times and their
# ratio.
set -eu

build=${1:-build-rel}
runs=${2:-3}
shift $(($# > 2 ? 2 : $#))
sizes=${*:-800x800 1080x1440}
lists=${LISTS:-photographs photographs-mixed}
bench=$build/bench/generation_bench
dissolve=25

if ! command -v melt > /dev/null; then
    echo "melt is not installed: apt-get install melt" >&2
    exit 1
fi
[ -x "$bench" ] || { echo "no $bench: build with -DTEVRAKO_BENCH=ON" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-photographs "$work/photos"
count=$(ls "$work/photos" | wc -l)

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
now() { date +%s.%N; }

for list in $lists; do
for size in $sizes; do
    width=${size%x*}
    height=${size#*x}
    cat > "$work/profile" <<EOF
description=$size
frame_rate_num=25
frame_rate_den=1
width=$width
height=$height
progressive=1
sample_aspect_num=1
sample_aspect_den=1
display_aspect_num=$width
display_aspect_den=$height
colorspace=601
EOF
    ours=()
    theirs=()
    for run in $(seq "$runs"); do
        report=$("$bench" --list "$list" --photographs "$work/photos" --size "$size" \
                          --generation-only --runs 1 --workers "$(nproc)" ${BENCH_OPTIONS:-})
        frames=$(sed -n 's/.* pictures, \([0-9]*\) frames.*/\1/p' <<< "$report")
        ours+=("$(awk '$1 ~ /^[0-9]+$/ {print $2}' <<< "$report")")

        # Each picture's length so that the slideshow has the same frames.
        length=$(( (frames + dissolve * (count - 1) + count / 2) / count ))
        slideshow=()
        for i in $(seq 0 $((count - 1))); do
            slideshow+=("$work/photos/photo $i.jpg" "out=$((length - 1))")
            [ "$i" -gt 0 ] && slideshow+=(-mix "$dissolve" -mixer luma)
        done
        start=$(now)
        melt -silent -profile "$work/profile" "${slideshow[@]}" \
             -consumer "avformat:$work/melt.mp4" vcodec=libx264 pix_fmt=yuv420p an=1 \
             real_time=-"$(nproc)" 2> /dev/null
        theirs+=("$(awk -v a="$(now)" -v b="$start" 'BEGIN {print a - b}')")
    done
    meltFrames=$(ffprobe -v error -count_frames -select_streams v:0 \
                         -show_entries stream=nb_read_frames -of csv=p=0 "$work/melt.mp4")
    ourTime=$(printf '%s\n' "${ours[@]}" | median)
    meltTime=$(printf '%s\n' "${theirs[@]}" | median)
    printf '%s %s: generation %.2f s (%d frames), melt %.2f s (%d frames), ratio %.2f (medians of %d)\n' \
           "$list" "$size" "$ourTime" "$frames" "$meltTime" "$meltFrames" \
           "$(awk -v a="$ourTime" -v b="$meltTime" 'BEGIN {print a / b}')" "$runs"
done
done
