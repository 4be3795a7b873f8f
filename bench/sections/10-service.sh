#!/usr/bin/env bash
# Section "service": tarvelo-service against a peer made with the npm package soap, under wrk
# with the tool's call (kept-alive connections), and tarvelo-service alone under ab (a new
# connection for every request).
#   BENCH_SECONDS   how long each wrk run lasts (default 10)
#   BENCH_AB_COUNT  how many requests ab makes (default 20000)
set -euo pipefail
source "$(dirname "$0")/../lib.sh"

seconds=${BENCH_SECONDS:-10}
ab_count=${BENCH_AB_COUNT:-20000}

bench_install_peer
bench_start_service
bench_start_peer "$service_url"
for subject in service peer; do
  url_var="${subject}_url"
  if bench_answers_call "${!url_var}"; then
    bench_check "$subject answers the call" ok "${!url_var}"
  else
    bench_check "$subject answers the call" FAILED "${!url_var}"
  fi
done

# One after the other, never at once: the two cores are shared by the server and wrk.
service_run=$(bench_wrk "$service_url" "$seconds" 32)
bench_row service "tarvelo-service (wrk -t2 -c32 -d${seconds}s)" "$service_run"
kill -TERM "$peer_pid" 2>/dev/null || true
bench_start_peer "$service_url"  # a fresh peer, so that neither run warms the other
peer_run=$(bench_wrk "$peer_url" "$seconds" 32)
bench_row service "npm soap peer (wrk -t2 -c32 -d${seconds}s)" "$peer_run"
kill -TERM "$peer_pid" 2>/dev/null || true

ab_run=$(bench_ab "$service_url" "$ab_count" 8)
bench_row service "tarvelo-service (ab -n $ab_count -c 8, no keep-alive)" "$ab_run"

for subject in service peer; do
  run_var="${subject}_run"
  errors=$(( $(bench_field "${!run_var}" non2xx) + $(bench_field "${!run_var}" socket_errors) ))
  bench_check "$subject under wrk: no non-2xx, no socket errors" \
    "$([ "$errors" -eq 0 ] && echo ok || echo FAILED)" "$errors"
done
ab_bad=$(( $(bench_field "$ab_run" failed) + $(bench_field "$ab_run" non2xx) ))
bench_check "service under ab: no failed requests" "$([ "$ab_bad" -eq 0 ] && echo ok || echo FAILED)" \
  "$ab_bad of $(bench_field "$ab_run" requests)"

bench_ratio "service/peer rps under wrk" \
  "$(awk -v a="$(bench_field "$service_run" rps)" -v b="$(bench_field "$peer_run" rps)" \
       'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }')" ">=3"
