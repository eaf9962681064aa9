#!/bin/sh
# Checksums of every frame of an offline capture of the default show, to
# prove that a change to the drawing code leaves each frame as it was.
#
#   tools/frame_checksums.sh [-b BUILD] [-f FPS] [-s SCRIPT] record FILE
#       capture the show and write one "frame checksum" line per frame to FILE
#   tools/frame_checksums.sh [-b BUILD] [-f FPS] [-s SCRIPT] compare FILE
#       capture the show again and compare with FILE: lists the frames that
#       differ and exits 1 when any does (or when the frame counts differ)
#
# BUILD is the build folder holding the player (default: build); FPS the
# capture rate (default: 5); SCRIPT a show script to capture instead of the
# default show (data/script.txt), such as one of data/examples/. Run it from the repository root; without a
# display it runs the player under Xvfb.
set -eu

build=build
fps=5
script=data/script.txt
while getopts b:f:s: option; do
    case $option in
    b) build=$OPTARG ;;
    f) fps=$OPTARG ;;
    s) script=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
if [ $# -ne 2 ] || { [ "$1" != record ] && [ "$1" != compare ]; }; then
    echo "usage: $0 [-b BUILD] [-f FPS] [-s SCRIPT] record|compare FILE" >&2
    exit 2
fi
action=$1
file=$2
player=$build/quillon
[ -x "$player" ] || { echo "$0: no player at $player (build first)" >&2; exit 2; }
[ "$action" = record ] || [ -f "$file" ] || { echo "$0: no checksum file $file" >&2; exit 2; }

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
    echo "$count frames recorded in $file"
    exit 0
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
