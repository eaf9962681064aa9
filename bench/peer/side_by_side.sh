#!/bin/sh
# The default show's bench and the peer harness one after the other, on the
# same machine load, and their figures in one table:
#
#   bench/peer/side_by_side.sh [-b BUILD] [-f FPS] [-o DIR]
#
# BUILD is the build folder (default: build), FPS the bench's frame rate
# (default: 60), DIR where the two full reports are kept (default: a
# scratch folder, removed). The load average is printed before and after;
# compare ratios within one run, not figures across runs. Run it from the
# repository root.
set -eu

build=build
fps=60
keep=
while getopts b:f:o: option; do
    case $option in
    b) build=$OPTARG ;;
    f) fps=$OPTARG ;;
    o) keep=$OPTARG ;;
    *) exit 2 ;;
    esac
done
peer=$build/bench/quillon_peer_frames
[ -x "$build/quillon" ] || { echo "$0: no player at $build/quillon (build first)" >&2; exit 2; }
[ -x "$peer" ] || { echo "$0: no $peer (it is built where libprojectm-dev is installed)" >&2; exit 2; }
if [ -n "$keep" ]; then
    mkdir -p "$keep"
    out=$keep
else
    out=$(mktemp -d)
    trap 'rm -rf "$out"' EXIT
fi

echo "load before: $(uptime)"
SDL_AUDIODRIVER=dummy "$build/quillon" --bench --fps "$fps" . > "$out/bench.txt" 2> /dev/null ||
    { echo "$0: the bench failed" >&2; exit 2; }
"$peer" > "$out/peer.txt" 2> /dev/null || { echo "$0: the peer harness failed" >&2; exit 2; }
echo "load after:  $(uptime)"
echo

# The bench's rows: name line frames mean p95 mean/floor p95/floor; the
# whole frame row has no line. The peer's last row is its total.
awk -v peer_file="$out/peer.txt" '
    /^Floor:/ { for (i = 1; i < NF; ++i) if ($i == "median") floor = $(i + 1) }
    /^whole frame / { mean = $4; p95 = $5; mean_f = $6; p95_f = $7 }
    NF == 7 && $2 ~ /^[0-9]+$/ && $7 + 0 > worst { worst = $7; worst_row = $1 " (line " $2 ")" }
    END {
        while ((getline line < peer_file) > 0)
            if (line ~ /^all presets/) { split(line, f, " +"); peer_mean = f[4]; peer_p95 = f[6] }
        printf "floor (median)           %8.2f ms\n", floor
        printf "whole frame mean         %8.2f ms  %5.2fx floor\n", mean, mean_f
        printf "whole frame p95          %8.2f ms  %5.2fx floor\n", p95, p95_f
        printf "slowest section p95               %5.2fx floor  %s\n", worst, worst_row
        printf "peer mean                %8.2f ms  %5.2fx floor\n", peer_mean, peer_mean / floor
        printf "peer p95                 %8.2f ms  %5.2fx floor\n", peer_p95, peer_p95 / floor
        printf "whole frame mean / peer mean       %5.2f\n", mean / peer_mean
    }' "$out/bench.txt"
