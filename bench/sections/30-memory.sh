#!/usr/bin/env bash
# Section "memory": the peak resident memory (/usr/bin/time -v, "Maximum resident set size")
# of the tool against one tarvelo-service:
#   tarvelo-cli --times 10 and --times 9999: the difference is what 9989 more exchanges leave
#   behind; it must stay under 512 KiB (nothing may pile up exchange by exchange)
#   the window (memory-window-driver: the tarvelo application on Qt, offscreen, one run of 100
#   pressed by program), when the build has the window
set -euo pipefail
source "$(dirname "$0")/../lib.sh"

limit_kib=512

# Prints the peak resident KiB of the command, or fails with its output.
peak_kib() {
  local log="$bench_tmp/time.$RANDOM"
  if ! /usr/bin/time -v -o "$log" "$@" >"$log.out" 2>&1; then
    cat "$log.out" "$log" >&2
    return 1
  fi
  awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$log"
}

# This section's programs, in the benchmark's build folder; the window's only when the build
# has the window.
targets=(tarvelo-cli)
if grep -q '^TARVELO_BUILD_GUI:BOOL=ON' "$bench_bin/../CMakeCache.txt" 2>/dev/null; then
  targets+=(memory-window-driver)
fi
cmake --build "$bench_bin/.." -j "$(nproc)" --target "${targets[@]}" >&2

bench_start_service
hostport=${service_url#http://}
hostport=${hostport%%/*}

few=$(peak_kib "$bench_bin/tarvelo-cli" --times 10 --service-host "$hostport" --json) || few=0
many=$(peak_kib "$bench_bin/tarvelo-cli" --times 9999 --service-host "$hostport" --json) || many=0
if [ "$few" -eq 0 ] || [ "$many" -eq 0 ]; then
  bench_check "tarvelo-cli runs of 10 and 9999 completed" FAILED "see above"
fi
growth=$((many - few))
bench_row memory "tarvelo-cli peak RSS, --times 10 and --times 9999" \
  "times10_kib=$few times9999_kib=$many growth_kib=$growth"
bench_check "tarvelo-cli grows less than $limit_kib KiB over 9989 more exchanges" \
  "$([ "$growth" -lt "$limit_kib" ] && echo ok || echo FAILED)" "$growth KiB"

if [ -x "$bench_bin/memory-window-driver" ]; then
  if window=$(peak_kib env QT_QPA_PLATFORM=offscreen "$bench_bin/memory-window-driver" \
                 --service-host "$hostport" --times 100); then
    bench_row memory "tarvelo window (Qt offscreen), run of 100, peak RSS" "peak_kib=$window"
    bench_check "the window's run of 100 completed" ok "peak $window KiB"
  else
    bench_check "the window's run of 100 completed" FAILED "see above"
  fi
else
  echo "memory: no memory-window-driver in $bench_bin (built without the window): skipped" >&2
fi
