#!/usr/bin/env bash
# Usage: expect-report.sh COMMAND...
# Passes only when COMMAND fails with a sanitizer report and stops there: a clean exit, a
# failure without a report, or output after the fault all fail.
set -uo pipefail
out=$("$@" 2>&1)
status=$?
printf '%s\n' "$out"
if [ "$status" -eq 0 ]; then
    echo "FAIL: the faulty input ended with status 0"
    exit 1
fi
if ! grep -Eq "runtime error:|ERROR: AddressSanitizer" <<<"$out"; then
    echo "FAIL: status $status but no sanitizer report"
    exit 1
fi
if grep -q "still running after the fault" <<<"$out"; then
    echo "FAIL: the run went on after the report"
    exit 1
fi
echo "ok: the first report ended the run with status $status"
