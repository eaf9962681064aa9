#!/bin/bash
# Runs every fuzz target for SECONDS seconds each from a fresh scratch corpus
# (the hand-made seeds in fuzz/seeds plus the generated show files), prints
# libFuzzer's final statistics and a one-line summary per target, and fails
# when a target reports a finding.
#
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]     (run from the project root)
set -u
build=$1
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(model script spline image mp3)

# Fills the corpus folder of one target with its seeds.
seed() {
    local target=$1 corpus=$2
    cp fuzz/seeds/"$target"/* "$corpus"/
    case $target in
    model) cp data/models/*.3ds "$corpus"/ 2>/dev/null ;;
    script)
        cp data/script.txt "$corpus"/default_script.txt 2>/dev/null
        for f in data/examples/*.txt; do [ -f "$f" ] && cp "$f" "$corpus"/example_"$(basename "$f")"; done ;;
    spline) cp data/splines/*.txt "$corpus"/ 2>/dev/null ;;
    # Pictures up to 64 KB: bigger ones only slow every mutation down.
    image) find data -type f \( -name '*.jpg' -o -name '*.tga' -o -name '*.bmp' \) -size -64k \
               -exec cp {} "$corpus"/ \; 2>/dev/null ;;
    # The head of the soundtrack: whole frames to decode and seek in, and a
    # cut-off last frame.
    mp3) if [ -f data/music/soundtrack.mp3 ]; then
             head -c 65536 data/music/soundtrack.mp3 > "$corpus"/soundtrack_64k.mp3
             head -c 8192 data/music/soundtrack.mp3 > "$corpus"/soundtrack_8k.mp3
         fi ;;
    esac
    if [ "$(ls "$corpus" | wc -l)" -le "$(ls fuzz/seeds/"$target" | wc -l)" ]; then
        echo "fuzz: no generated files for $target in data/ (run make build first)"
    fi
}

status=0
summary=""
for target in "${targets[@]}"; do
    corpus=$build/corpus-$target
    rm -rf "$corpus" && mkdir -p "$corpus"
    seed "$target" "$corpus"
    options="detect_leaks=1"
    # Decoders size their surfaces from the header before reading pixels: a
    # few bytes can ask for gigabytes. Such an allocation fails (and the
    # player reports it) instead of stopping the run.
    [ "$target" = image ] && options="$options:allocator_may_return_null=1:max_allocation_size_mb=32"
    log=$build/fuzz-$target.log
    stamp=$build/fuzz-$target.started
    touch "$stamp"
    echo "== fuzz_$target: $seconds s"
    ASAN_OPTIONS=$options UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build"/fuzz/fuzz_"$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build"/fuzz-"$target"- "$corpus" > "$log" 2>&1
    rc=$?
    grep -E '^stat::|^#[0-9]+[[:space:]]+DONE' "$log"
    line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)
    cov=$(echo "$line" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
    ft=$(echo "$line" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    if [ $rc -ne 0 ]; then
        status=1
        echo "fuzz_$target: FINDING (exit $rc), see $log and $build/fuzz-$target-*"
        grep -E 'ERROR|SUMMARY|fatal message|==[0-9]+==|^ +#[0-9]+ .* in ' "$log" | head -30
        # The input itself, so a finding on another machine can be replayed:
        # base64 -d > input && BUILD/fuzz/fuzz_TARGET input
        find "$build" -maxdepth 1 -name "fuzz-$target-*" -newer "$stamp" -size -16k | while read -r input; do
            echo "input $(basename "$input"): $(base64 -w0 "$input")"
        done
        summary+=$(printf '%-12s FINDING (exit %d)' "fuzz_$target" $rc)$'\n'
    else
        summary+=$(printf '%-12s %8s runs %7s exec/s  cov %5s  ft %6s' "fuzz_$target" "$runs" "$rate" "$cov" "$ft")$'\n'
    fi
done
echo "== fuzz summary ($seconds s each)"
printf '%s' "$summary"
exit $status
