#!/usr/bin/env bash
# Lines of test code against lines of program code; `make test` runs it first.
#   tools/ratio/test-ratio.sh [ROOT]     (RATIO_MAX overrides the limit, 0.40)
# Program code: every .cpp/.h/.c/.sh file outside tests/, fuzz/ and bench/.
# Test code: those files under tests/ and fuzz/. Blank lines and lines that
# hold only a comment count in neither. The files are the ones git tracks, or
# every such file when the folder is not a git checkout. Prints both counts
# and the ratio; exits 1 above the limit.
set -eu
cd "${1:-$(dirname "$0")/../..}"
max=${RATIO_MAX:-0.40}
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  files() { git ls-files; }
else
  files() { find . -type f ! -path './build*' ! -path './.git/*' | sed 's|^\./||'; }
fi
count() {  # non-blank, non-comment lines of the files named on stdin
  tr '\n' '\0' | xargs -0 -r cat | awk '{ s = $0; sub(/^[ \t]+/, "", s)
    if (s == "" || s ~ /^\/\// || s ~ /^#[^a-z]/ || s ~ /^\*/ || s ~ /^\/\*/) next; n++ } END { print n + 0 }'
}
sources=$(files | grep -E '\.(cpp|h|c|sh)$' || true)
program=$(grep -vE '^(tests|fuzz|bench)/' <<< "$sources" | count)
tests=$(grep -E '^(tests|fuzz)/' <<< "$sources" | count)
ratio=$(awk -v t="$tests" -v p="$program" 'BEGIN { printf "%.2f", p ? t / p : 0 }')
echo "Test ratio: program code $program lines, test code $tests lines, tests/program = $ratio (limit $max)"
awk -v r="$ratio" -v m="$max" 'BEGIN { exit !(r <= m) }' || { echo "Test ratio: above the limit" >&2; exit 1; }
