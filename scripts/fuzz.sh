#!/usr/bin/env bash
# Runs the fuzz targets of tests/fuzz (built by the fuzz preset in build/fuzz), two at a time, each
# for SECONDS (20 by default) on a copy of its seed corpus in a temporary folder, so the committed
# corpus is never changed. Prints one line per target with its executions and coverage; fails when
# any target crashes, leaks, hangs (25 s on one input), runs out of memory (2 GB) or meets undefined
# behaviour, and then prints the end of its log and where the input that did it is kept.
#   scripts/fuzz.sh [SECONDS [TARGET...]]    targets by name, e.g. format jpegimage; all by default
#   COOP_FUZZ_KEEP=DIR   keep each target's log, grown corpus and findings in DIR/<target>/
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/fuzz
seconds=${1:-20}
shift $(( $# > 0 ? 1 : 0 ))
if [[ $# -gt 0 ]]; then
    targets=("$@")
else
    mapfile -t targets < <(grep -v '^$' "$build/fuzz-targets.txt")
fi
work=${COOP_FUZZ_KEEP:-$(mktemp -d /tmp/coop-fuzz.XXXXXX)}
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
if [[ -z ${ASAN_SYMBOLIZER_PATH:-} && -x /usr/lib/llvm-14/bin/llvm-symbolizer ]]; then
    export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
fi

# run_target NAME: fuzzes one target in $work/NAME and leaves its summary in $work/NAME/summary.
run_target() {
    local name=$1 dir=$work/$1
    mkdir -p "$dir/corpus"
    cp -r "$top/tests/fuzz/corpus/$name/." "$dir/corpus/"
    local status=0
    (cd "$dir" && "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$dir/" corpus > log 2>&1) || status=$?
    local runs cov ft
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$dir/log" | tail -1 | cut -d' ' -f2 || true)
    ft=$(grep -o 'ft: [0-9]*' "$dir/log" | tail -1 | cut -d' ' -f2 || true)
    if [[ $status == 0 ]]; then
        printf '%-24s %10s executions in %ss, cov %s, ft %s, corpus %s inputs\n' "fuzz_$name" "${runs:-?}" "$seconds" \
            "${cov:-?}" "${ft:-?}" "$(ls "$dir/corpus" | wc -l)" > "$dir/summary"
    else
        {
            printf '%-24s FAILED (exit %s) after %s executions; the log ends:\n' "fuzz_$name" "$status" "${runs:-?}"
            grep -v -E '^(#[0-9]+|Corrupt JPEG|Premature end|Invalid SOS|Unsupported marker)' "$dir/log" | tail -60 | sed 's/^/    /'
            for input in "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-*; do
                [[ -e $input ]] && printf '    input %s (base64): %s\n' "$input" "$(head -c 3000 "$input" | base64 -w0)"
            done
        } > "$dir/summary"
    fi
    return "$status"
}

failed=0
running=0
for name in "${targets[@]}"; do
    if [[ $running -ge 2 ]]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    run_target "$name" &
    running=$((running + 1))
done
while [[ $running -gt 0 ]]; do
    wait -n || failed=1
    running=$((running - 1))
done
passed=0 failures=0
for name in "${targets[@]}"; do
    cat "$work/$name/summary"
    if grep -q '^fuzz_[a-z]* *FAILED' "$work/$name/summary"; then
        failures=$((failures + 1))
    else
        passed=$((passed + 1))
    fi
done
echo "fuzz: $passed passed, $failures failed"
[[ -z ${COOP_FUZZ_KEEP:-} ]] && rm -rf "$work"
exit "$failed"
