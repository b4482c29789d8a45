#!/usr/bin/env bash
# Runs every fuzz target for a bounded time each (default 60 seconds) with AddressSanitizer and
# UndefinedBehaviorSanitizer, keeping each target's corpus under build/fuzz/corpus/. A crash or
# hang leaves its input in build/fuzz/findings/ and makes the script fail. Not part of the
# test command.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
cmake --preset fuzz >/dev/null
targets=(fuzz_classification fuzz_request_url fuzz_response fuzz_bytes_to_string)
cmake --build --preset fuzz -j2 --target "${targets[@]}"
mkdir -p build/fuzz/findings
status=0
for t in "${targets[@]}"; do
    corpus="build/fuzz/corpus/$t"
    mkdir -p "$corpus"
    echo "== $t (${seconds}s)"
    if ! build/fuzz/fuzz/"$t" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
        -max_len=8192 -artifact_prefix="build/fuzz/findings/$t-" -print_final_stats=1 \
        2>"build/fuzz/$t.log"; then
        echo "FAIL $t: see build/fuzz/$t.log and build/fuzz/findings/"
        status=1
    fi
    grep -E "stat::number_of_executed_runs|stat::peak_rss_mb" "build/fuzz/$t.log" || true
done
exit $status
