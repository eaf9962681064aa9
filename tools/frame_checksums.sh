#!/bin/sh
# Checksums of every frame of an offline capture of the default show, to
# prove that a change to the drawing code leaves each frame as it was, or
# changes it by no more than the tolerance allows.
#
#   tools/frame_checksums.sh [-b BUILD] [-f FPS] [-s SCRIPT] [-p DIR] record FILE
#       capture the show and write one "frame checksum" line per frame to
#       FILE; with -p, keep the pictures in DIR too
#   tools/frame_checksums.sh [-b BUILD] [-f FPS] [-s SCRIPT] [-p DIR] compare FILE
#       capture the show again and compare with FILE: lists the frames that
#       differ and exits 1 when any does (or when the frame counts differ).
#       With -p, the pictures recorded in DIR are the measure instead: every
#       frame that differs is listed with its largest difference on any
#       channel and the share of its pixels that differ, and the exit status
#       is 1 only when a frame is beyond the tolerance (a difference above one
#       level, or in more than 0.5 % of its pixels; see quillon-framediff)
#
# BUILD is the build folder holding the player (default: build); FPS the
# capture rate (default: 5); SCRIPT a show script to capture instead of the
# default show (data/script.txt), such as one of data/examples/. Run it from the repository root; without a
# display it runs the player under Xvfb. The pictures are frame_NNNNNN.png
# at the script's window size, as --capture writes them. The default show's
# checksums, as this tree draws it, are kept in tools/frame_checksums.txt.
set -eu

build=build
fps=5
script=data/script.txt
pictures=
while getopts b:f:s:p: option; do
    case $option in
    b) build=$OPTARG ;;
    f) fps=$OPTARG ;;
    s) script=$OPTARG ;;
    p) pictures=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
if [ $# -ne 2 ] || { [ "$1" != record ] && [ "$1" != compare ]; }; then
    echo "usage: $0 [-b BUILD] [-f FPS] [-s SCRIPT] [-p DIR] record|compare FILE" >&2
    exit 2
fi
action=$1
file=$2
player=$build/quillon
[ -x "$player" ] || { echo "$0: no player at $player (build first)" >&2; exit 2; }
[ "$action" = record ] || [ -f "$file" ] || { echo "$0: no checksum file $file" >&2; exit 2; }
if [ -n "$pictures" ] && [ "$action" = compare ]; then
    [ -d "$pictures" ] || { echo "$0: no recorded pictures in $pictures" >&2; exit 2; }
    [ -x "$build/quillon-framediff" ] || { echo "$0: no quillon-framediff in $build (build first)" >&2; exit 2; }
fi
if [ -n "$pictures" ] && [ "$action" = record ] && [ -e "$pictures" ]; then
    echo "$0: $pictures exists; record keeps its pictures in a new folder" >&2
    exit 2
fi

frames=$(mktemp -d)
sums=$(mktemp)
trap 'rm -rf "$frames" "$sums"' EXIT

run_player() {
    if [ -n "${DISPLAY:-}" ]; then
        "$@"
    else
        xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$@"
    fi
}

SDL_AUDIODRIVER=dummy run_player "$player" --capture "$frames" --fps "$fps" --script "$script" . > /dev/null 2>&1 ||
    { echo "$0: the capture failed" >&2; exit 2; }
(cd "$frames" && sha256sum frame_*.png) | awk '{ print $2, $1 }' > "$sums"
count=$(wc -l < "$sums")
[ "$count" -gt 0 ] || { echo "$0: the capture wrote no frames" >&2; exit 2; }

if [ "$action" = record ]; then
    cp "$sums" "$file"
    if [ -n "$pictures" ]; then
        mkdir -p "$pictures"
        cp "$frames"/frame_*.png "$pictures"/
    fi
    echo "$count frames recorded in $file${pictures:+, their pictures in $pictures}"
    exit 0
fi

if [ -n "$pictures" ]; then
    "$build/quillon-framediff" "$pictures" "$frames"
    exit $?
fi

expected=$(wc -l < "$file")
differing=$(join "$file" "$sums" | awk '$2 != $3 { print $1 }')
if [ "$count" -ne "$expected" ]; then
    echo "frame count differs: $expected recorded, $count now"
    status=1
elif [ -n "$differing" ]; then
    echo "$(echo "$differing" | wc -l) of $count frames differ:"
    echo "$differing"
    status=1
else
    echo "all $count frames identical"
    status=0
fi
exit $status
