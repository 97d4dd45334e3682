#!/usr/bin/env bash
# The fuzz runner's verdict on a fuzzer's crash directory: a planted crash,
# leak, timeout or out-of-memory input, or a non-zero exit, must fail it; a
# clean directory with a clean exit must pass.
set -euo pipefail
source "$1/scripts/run-fuzz.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
for kind in clean crash leak timeout oom; do
    mkdir "$work/$kind" && touch "$work/$kind/$kind-x"
    for status in 0 1; do
        want=fail
        [[ $kind == clean && $status == 0 ]] && want=pass
        got=pass
        fuzz_findings "$work/$kind" "$status" 2>/dev/null || got=fail
        [[ $got == "$want" ]] || { echo "FAIL: $kind, exit $status: expected $want, got $got" >&2; failures=$((failures + 1)); }
    done
done
[ "$failures" -eq 0 ] || exit 1
echo "fuzz findings: all cases as expected"
