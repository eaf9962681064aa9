#!/usr/bin/env bash
# Mutation check: how many plausible faults do the tests catch?
#
#   tools/mutation/run.sh [--rev REV] [--tree DIR] [--only N,M,...] [--groups "unit gl e2e"]
#
# Each fault of tools/mutation/faults.txt is an exact text substitution that
# must apply exactly once in its file. The check puts revision REV (default
# HEAD) in a scratch git worktree (DIR, default ../<this folder's name>-mut),
# builds it once with ccache, and makes sure the tests pass there. Then, for
# every fault: apply it, rebuild incrementally, run the tests, restore the
# file. A fault is caught when some test fails (or the run times out), missed
# when every test passes. Prints one line per fault and the score.
#
# The tests run as three ctest passes, unit, gl then e2e, stopping at the
# first failure, each under Xvfb and limited to RUN_TIMEOUT seconds (default
# 600); --groups runs only the groups named (and builds only what they run),
# so a long list can be tried on the quick groups first and what they miss
# on e2e after. The real-time test that plays the whole default show (about
# 160 s) and edit mode's memory soak (600 reopenings, a minute or more on a
# loaded machine, its growth bound meant for a quiet one) are left out: the
# offline and crafted-show tests cover the same code paths in a fraction of
# the time.
#
# Not part of `make test`. A caught fault takes seconds (an incremental
# ccache build, then the first failing group); a missed one the whole run.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
faults="$here/faults.txt"
rev=HEAD
tree="$(dirname "$root")/$(basename "$root")-mut"
only=""
RUN_TIMEOUT=${RUN_TIMEOUT:-600}
JOBS=${JOBS:-2}
EXCLUDE='default_show_plays_to_its_end|reopening_two_hundred_times'
groups='unit gl e2e'

while [ $# -gt 0 ]; do
  case "$1" in
    --rev) rev=$2; shift 2 ;;
    --tree) tree=$2; shift 2 ;;
    --only) only=",$2,"; shift 2 ;;
    --groups) groups=$2; shift 2 ;;
    *) echo "usage: $0 [--rev REV] [--tree DIR] [--only N,M,...] [--groups \"unit gl e2e\"]" >&2; exit 2 ;;
  esac
done

# --- the fault list -------------------------------------------------------
names=(); files=(); froms=(); tos=()
parse_faults() {
  local line key value n=-1
  while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in '#'*|'') continue ;; esac
    key=${line%%:*}
    value=${line#*: }
    case "$key" in
      fault) n=$((n + 1)); names[n]=$value ;;
      file) files[n]=$value ;;
      from) froms[n]=$value ;;
      to) tos[n]=$value ;;
      *) echo "$faults: unknown line: $line" >&2; exit 2 ;;
    esac
  done < "$faults"
}
parse_faults

# Occurrences of $2 in the text $1.
occurrences() {
  local text=$1 pattern=$2 rest
  rest=${text//"$pattern"/}
  echo $(( (${#text} - ${#rest}) / ${#pattern} ))
}

# --- the scratch tree -----------------------------------------------------
commit=$(git -C "$root" rev-parse --verify "$rev^{commit}") || exit 2
if [ -e "$tree/.git" ]; then
  git -C "$tree" checkout -q --detach "$commit" && git -C "$tree" reset -q --hard && git -C "$tree" clean -qfd -e build -e data
else
  git -C "$root" worktree add -q --detach "$tree" "$commit" || exit 2
fi
build="$tree/build"
echo "Mutation check of $(git -C "$root" log -1 --format='%h %s' "$commit")"
echo "Scratch tree: $tree"

for i in "${!names[@]}"; do
  f="$tree/${files[i]}"
  if [ ! -f "$f" ]; then echo "fault $((i + 1)): no file ${files[i]}" >&2; exit 2; fi
  n=$(occurrences "$(cat "$f")" "${froms[i]}")
  if [ "$n" -ne 1 ]; then
    echo "fault $((i + 1)) (${names[i]}): the text occurs $n times in ${files[i]}, not once" >&2; exit 2
  fi
done

cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLON_BENCH=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache > /dev/null || exit 2

# The player, the test programs and the tools; the assets only on the first
# build (no fault touches the generator, so they stay as they are).
build_tree() {
  local targets=()
  [[ " $groups " == *" unit "* ]] && targets+=(unit_tests)
  [[ " $groups " == *" gl "* ]] && targets+=(gl_tests)
  [[ " $groups " == *" e2e "* ]] && targets+=(quillon quillon-modelinfo)
  cmake --build "$build" -j "$JOBS" --target "${targets[@]}" > "$build/mutation-build.log" 2>&1 || return 1
  [[ " $groups " != *" e2e "* ]] || make -C "$build" -j "$JOBS" e2e_tests/fast >> "$build/mutation-build.log" 2>&1
}

# Prints the group whose tests failed first, or nothing when all pass.
run_tests() {
  local group
  for group in $groups; do
    if ! (cd "$build" && SDL_AUDIODRIVER=dummy timeout "$RUN_TIMEOUT" \
          xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
          ctest -L "^$group\$" -E "$EXCLUDE" -j "$JOBS" --stop-on-failure > "$build/mutation-test.log" 2>&1); then
      echo "$group"; return
    fi
  done
}

echo "Building the unchanged tree..."
cmake --build "$build" -j "$JOBS" > "$build/mutation-build.log" 2>&1 || { echo "the unchanged tree does not build"; exit 2; }
echo "Running the tests on the unchanged tree..."
failing=$(run_tests)
if [ -n "$failing" ]; then
  echo "the unchanged tree fails its $failing tests; see $build/mutation-test.log"; exit 2
fi

caught=0; tried=0; missed_list=()
for i in "${!names[@]}"; do
  number=$((i + 1))
  [ -n "$only" ] && [[ $only != *",$number,"* ]] && continue
  f="$tree/${files[i]}"
  text=$(cat "$f")
  printf '%s\n' "${text/"${froms[i]}"/"${tos[i]}"}" > "$f"
  began=$(date +%s)
  if ! build_tree; then
    verdict="does not build"
  else
    group=$(run_tests)
    if [ -n "$group" ]; then verdict="caught ($group)"; caught=$((caught + 1))
    else verdict="MISSED"; missed_list+=("$number"); fi
    tried=$((tried + 1))
  fi
  git -C "$tree" checkout -q -- "${files[i]}"
  printf '%2d  %-16s %4ds  %s: %s\n' "$number" "$verdict" $(( $(date +%s) - began )) "${files[i]}" "${names[i]}"
done
build_tree > /dev/null 2>&1  # leave the build matching the tree

echo "Score: $caught of $tried faults caught${missed_list[*]:+; missed: ${missed_list[*]}}"
