#!/bin/bash
# Every sample and benchmark model simulated as usual and tick by tick (every pass of every
# tick, nothing skipped or left out) gives the same JSON document, byte for byte.
# Usage: tick-by-tick.sh MARDO-RUN SOURCE-DIR
set -u
runner=$1
source=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
for model in "$source"/examples/*.mrd "$source"/bench/models/*.mrd; do
    # The benchmarks' many runs shortened to two: every kind of tick comes up in them already.
    shorten=()
    case $model in "$source"/bench/*) shorten=(--set model.runs=2) ;; esac
    "$runner" --json "${shorten[@]}" "$model" >"$scratch/usual.json" ||
        { echo "FAIL: $model: mardo-run exited $?"; failed=1; continue; }
    "$runner" --json --tick-by-tick "${shorten[@]}" "$model" >"$scratch/reference.json" ||
        { echo "FAIL: $model --tick-by-tick: mardo-run exited $?"; failed=1; continue; }
    if cmp -s "$scratch/usual.json" "$scratch/reference.json"; then
        echo "ok: $model"
    else
        echo "FAIL: $model: the JSON differs tick by tick"
        diff "$scratch/usual.json" "$scratch/reference.json" | head -20
        failed=1
    fi
done
exit $failed
