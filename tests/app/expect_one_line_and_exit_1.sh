#!/bin/sh
# Runs a program and passes when it ends with exit code 1 after exactly one line on standard
# error that matches a pattern, with nothing on standard output.
# Usage: expect_one_line_and_exit_1.sh <pattern> <program> [arguments...]
pattern=$1
shift
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
"$@" >"$out" 2>"$err"
code=$?
echo "exit code $code; standard error:"
cat "$err"
[ "$code" -eq 1 ] || { echo "FAIL: the exit code is not 1"; exit 1; }
[ ! -s "$out" ] || { echo "FAIL: standard output is not empty"; exit 1; }
[ "$(wc -l <"$err")" -eq 1 ] || { echo "FAIL: not exactly one line"; exit 1; }
grep -Eq "$pattern" "$err" || { echo "FAIL: the line does not match: $pattern"; exit 1; }
