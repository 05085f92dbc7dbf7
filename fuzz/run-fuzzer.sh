#!/usr/bin/env bash
# Usage: run-fuzzer.sh FUZZER INPUTS WORK RUNS
# Fuzzes from the inputs in folder INPUTS for RUNS inputs with a fixed seed, so every run tries
# the same inputs. New inputs go to WORK/new (emptied first), never into INPUTS; an input that
# fails is kept as WORK/crash-* (or leak-*, timeout-*) and the status is non-zero.
set -euo pipefail
fuzzer=$1 inputs=$2 work=$3 runs=$4
rm -rf "$work"
mkdir -p "$work/new"
exec "$fuzzer" -runs="$runs" -seed=1 -max_len=8192 -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/new" "$inputs"
