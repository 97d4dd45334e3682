#!/usr/bin/env bash
# The fuzz runner's verdict on a fuzzer's crash directory: a planted crash,
# leak, timeout or out-of-memory input, or a non-zero exit, must fail it; a
# clean directory with a clean exit must pass.
set -euo pipefail
source "$1/scripts/run-fuzz.sh"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

expect() {
    local want="$1" what="$2" dir="$3" status="$4" got=pass
    fuzz_findings "$dir" "$status" 2>/dev/null || got=fail
    if [ "$got" != "$want" ]; then
        echo "FAIL: $what: expected $want, got $got" >&2
        failures=$((failures + 1))
    fi
}

mkdir "$work/clean"
touch "$work/clean/corpus-entry"
expect pass "clean directory, clean exit" "$work/clean" 0
expect fail "clean directory, fuzzer exited 1" "$work/clean" 1
for kind in crash leak timeout oom; do
    mkdir "$work/$kind"
    touch "$work/$kind/$kind-x"
    expect fail "planted $kind-x" "$work/$kind" 0
done

[ "$failures" -eq 0 ] || exit 1
echo "fuzz findings: all cases as expected"
