#!/usr/bin/env bash
# Section "exchange": what one exchange of the tool costs, next to two clients that do the same
# exchange with less in the way. All three make a new connection for every request and send the
# same body with the same credentials to one tarvelo-service:
#   tarvelo-cli   the tool itself (the dialog's run on the headless window); its own figures,
#                 Diff. / Times done, are the time of one exchange
#   ab            ab -c 1 with the tool's body (HTTP/1.0, one connection per request)
#   floor-client  plain sockets, the component's request prepared once, each reply read to
#                 its end: the least an exchange costs on this machine
#   tool-stats    the tool with --stats: each exchange timed from the window's updates, which
#                 must cost nothing measurable (within 2 % of the tool without it)
# They run in turn (tool and tool-stats, in alternating order, then ab, floor) for
# BENCH_EXCHANGE_ROUNDS rounds; the medians of the per-exchange times are compared, and
# tool-stats with the tool of the same round (the median of the rounds' ratios). The
# instructions that the tool executes with and without --stats (valgrind's callgrind) give the
# cost of the figures whatever else the machine is doing.
#   BENCH_EXCHANGE_COUNT   exchanges in one run (default 2000; the tool's count field takes 4
#                          characters, so at most 9999)
#   BENCH_EXCHANGE_ROUNDS  rounds (default 5)
set -euo pipefail
source "$(dirname "$0")/../lib.sh"

count=${BENCH_EXCHANGE_COUNT:-2000}
rounds=${BENCH_EXCHANGE_ROUNDS:-5}
credentials=tolvex:kqv=47

# This section's programs, in the benchmark's build folder.
cmake --build "$bench_bin/.." -j "$(nproc)" --target tarvelo-cli floor-client >&2

load_before=$(cut -d' ' -f1 /proc/loadavg)
bench_start_service
hostport=${service_url#http://}
hostport=${hostport%%/*}
port=${hostport##*:}

# The body exactly as the tool sends it: its request field, as UTF-8.
body="$bench_tmp/exchange-body.xml"
"$bench_bin/tarvelo-cli" --times 1 --service-host "$hostport" --json >"$bench_tmp/first.json" || true
python3 - "$bench_tmp/first.json" "$body" <<'EOF'
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
open(sys.argv[2], "w", encoding="utf-8", newline="").write(report["request"])
EOF
if [ "$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["timesDone"])' \
          "$bench_tmp/first.json")" = 1 ]; then
  bench_check "the tool's first exchange passes" ok "$hostport"
else
  bench_check "the tool's first exchange passes" FAILED "$(cat "$bench_tmp/first.json")"
fi

# Each prints the milliseconds of one exchange, or fails.
run_tool() {
  "$bench_bin/tarvelo-cli" --times "$count" --service-host "$hostport" --json "$@" |
    python3 -c '
import json, sys
report = json.load(sys.stdin)
done = report["timesDone"]
if done != int(sys.argv[1]):
    sys.exit("tarvelo-cli did %d exchanges of %s" % (done, sys.argv[1]))
if "stats" in report and len(report["stats"]["exchangesMs"]) != done:
    sys.exit("tarvelo-cli --stats timed %d exchanges of %d"
             % (len(report["stats"]["exchangesMs"]), done))
print("%.4f" % (float(report["diff"].split()[0]) * 1000.0 / done))' "$count"
}
run_tool_stats() {
  run_tool --stats
}
run_ab() {
  local out
  out=$(ab -q -n "$count" -c 1 -s 10 -p "$body" -T application/soap+xml -A "$credentials" \
          "$service_url" 2>&1) || { echo "$out" >&2; return 1; }
  echo "$out" | awk -v n="$count" '
    /^Time taken for tests:/ { seconds = $5 }
    /^Complete requests:/    { complete = $3 }
    /^Failed requests:/      { failed = $3 }
    /^Non-2xx responses:/    { non2xx = $3 }
    END {
      if (complete != n || failed + non2xx > 0) {
        printf "ab: %s complete, %s failed, %d non-2xx\n", complete, failed, non2xx > "/dev/stderr"
        exit 1
      }
      printf "%.4f\n", seconds * 1000.0 / n
    }'
}
run_floor() {
  "$bench_bin/floor-client" --port "$port" --times "$count" --body "$body" --user "$credentials" |
    sed -n 's/.*per_exchange_ms=\([0-9.]*\).*/\1/p'
}

declare -A times=([tool]="" [tool_stats]="" [ab]="" [floor]="")
stats_ratios=""  # tool-stats over the tool, round by round
failures=0
for round in $(seq 1 "$rounds"); do
  pair="tool tool_stats"
  if [ $((round % 2)) -eq 0 ]; then pair="tool_stats tool"; fi
  declare -A this_round=()
  for client in $pair ab floor; do
    if ms=$("run_$client") && [ -n "$ms" ]; then
      times[$client]+="$ms "
      this_round[$client]=$ms
      echo "exchange: round $round $client ${ms} ms" >&2
    else
      failures=$((failures + 1))
      echo "exchange: round $round $client failed" >&2
    fi
  done
  if [ -n "${this_round[tool]:-}" ] && [ -n "${this_round[tool_stats]:-}" ]; then
    stats_ratios+="$(awk -v a="${this_round[tool_stats]}" -v b="${this_round[tool]}" \
                       'BEGIN { printf "%.4f", a / b }') "
  fi
  unset this_round
done

# The instructions of one run of the tool (callgrind counts them exactly).
instructions_count=1000
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$bench_bin/tarvelo-cli" \
    --times "$instructions_count" --service-host "$hostport" --json "$@" 2>&1 >/dev/null |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
instructions_without=$(instructions)
instructions_stats=$(instructions --stats)
load_after=$(cut -d' ' -f1 /proc/loadavg)

# median, min and max of a list of numbers
stats() {
  echo "$1" | tr ' ' '\n' | grep . | sort -g | awk '
    { v[NR] = $1 }
    END { if (NR == 0) { print "median_ms=0 min_ms=0 max_ms=0 runs=0"; exit }
          m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf "median_ms=%.4f min_ms=%.4f max_ms=%.4f runs=%d\n", m, v[1], v[NR], NR }'
}
tool=$(stats "${times[tool]}")
tool_stats=$(stats "${times[tool_stats]}")
ab_stats=$(stats "${times[ab]}")
floor=$(stats "${times[floor]}")
bench_row exchange "tarvelo-cli --times $count (Diff. / Times done)" "$tool"
bench_row exchange "tarvelo-cli --times $count --stats" "$tool_stats"
bench_row exchange "  --stats / without, the rounds' ratios" \
  "$(stats "$stats_ratios" | sed 's/_ms=/=/g')"
bench_row exchange "  instructions of --times $instructions_count (callgrind)" \
  "without=$instructions_without stats=$instructions_stats"
bench_row exchange "ab -n $count -c 1 (a connection per request)" "$ab_stats"
bench_row exchange "floor-client, plain sockets ($count)" "$floor"
bench_row exchange "load average (1 min) before and after" "before=$load_before after=$load_after"

bench_check "every exchange run completed" "$([ "$failures" -eq 0 ] && echo ok || echo FAILED)" \
  "$failures of $((rounds * 4)) runs failed"

ratio() {
  awk -v a="$(bench_field "$1" median_ms)" -v b="$(bench_field "$2" median_ms)" \
    'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'
}
bench_ratio "tarvelo/ab per exchange" "$(ratio "$tool" "$ab_stats")" "<=1.10"
bench_ratio "tarvelo/floor per exchange" "$(ratio "$tool" "$floor")" "<=1.5"
bench_ratio "tarvelo --stats/without per exchange (median of the rounds)" \
  "$(stats "$stats_ratios" | sed -n 's/.*median_ms=\([0-9.]*\).*/\1/p' | xargs printf '%.3f')" "<=1.02"
bench_ratio "tarvelo --stats/without instructions" \
  "$(awk -v a="$instructions_stats" -v b="$instructions_without" \
       'BEGIN { printf "%.4f", (b > 0 ? a / b : 0) }')" "<=1.02"
