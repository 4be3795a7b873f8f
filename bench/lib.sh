# Shared by the benchmark sections (bench/sections/*.sh) and scripts/check-service. Sourced, not
# run. Everything started here listens on 127.0.0.1 only and is stopped when the script exits.
#
# A section reports on standard output in lines of three kinds, which scripts/bench collects:
#   row<TAB>SECTION<TAB>SUBJECT<TAB>key=value key=value ...   one line of a section's table
#   ratio<TAB>NAME<TAB>VALUE<TAB>TARGET                       a figure with its target (">=3")
#   check<TAB>NAME<TAB>ok|FAILED<TAB>DETAIL                   a condition that must hold
# Anything else it prints is shown as it comes.

bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bench_bin=${BENCH_BIN:-$bench_root/build/release/bin}
bench_tmp=$(mktemp -d)
bench_pids=()

bench_cleanup() {
  local pid
  for pid in "${bench_pids[@]}"; do
    kill -TERM "$pid" 2>/dev/null || true
  done
  for pid in "${bench_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$bench_tmp"
}
trap bench_cleanup EXIT

bench_row() { printf 'row\t%s\t%s\t%s\n' "$1" "$2" "$3"; }
bench_ratio() { printf 'ratio\t%s\t%s\t%s\n' "$1" "$2" "$3"; }
bench_check() { printf 'check\t%s\t%s\t%s\n' "$1" "$2" "$3"; }

# Waits until FILE holds a line "... listening on URL" and prints URL; fails after 10 s or when
# process PID ends first.
bench_wait_url() {
  local file=$1 pid=$2 i url
  for i in $(seq 1 200); do
    url=$(grep -o 'listening on http://[^ ]*' "$file" 2>/dev/null | head -n 1 | cut -d' ' -f3)
    if [ -n "$url" ]; then echo "$url"; return 0; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  cat "$file" >&2
  return 1
}

# Starts tarvelo-service on a free port with the given extra options; sets service_url and
# service_pid.
bench_start_service() {
  local log="$bench_tmp/service.$RANDOM.log"
  "$bench_bin/tarvelo-service" --listen 127.0.0.1:0 "$@" >"$log" 2>&1 &
  service_pid=$!
  bench_pids+=("$service_pid")
  service_url=$(bench_wait_url "$log" "$service_pid") || {
    echo "bench: tarvelo-service did not start" >&2
    return 1
  }
}

# Installs the peer's packages into bench/peer/node_modules when they are missing.
bench_install_peer() {
  if [ ! -d "$bench_root/bench/peer/node_modules/soap" ]; then
    (cd "$bench_root/bench/peer" && npm ci --no-audit --no-fund --loglevel=error >&2)
  fi
}

# Starts the peer on a free port, serving the WSDL of the service at $1; sets peer_url, peer_pid.
bench_start_peer() {
  local log="$bench_tmp/peer.log"
  node "$bench_root/bench/peer/server.js" "$1?wsdl" 0 >"$log" 2>&1 &
  peer_pid=$!
  bench_pids+=("$peer_pid")
  peer_url=$(bench_wait_url "$log" "$peer_pid") || {
    echo "bench: the peer did not start" >&2
    return 1
  }
}

bench_request_body() {
  printf '%s' '<?xml version="1.0" encoding="utf-8"?><soap12:Envelope xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xmlns:xsd="http://www.w3.org/2001/XMLSchema" xmlns:soap12="http://www.w3.org/2003/05/soap-envelope"><soap12:Body><simpleMethod xmlns="http://tempuri.org/"><srt>added string to hello</srt></simpleMethod></soap12:Body></soap12:Envelope>'
}

# True when URL answers the tool's call with "Hello added string to hello".
bench_answers_call() {
  bench_request_body >"$bench_tmp/body.xml"
  curl -s --max-time 5 -u tolvex:kqv=47 -H 'Content-Type: application/soap+xml' \
    --data-binary @"$bench_tmp/body.xml" "$1" | grep -q '<simpleMethodResult>Hello added string to hello<'
}

# wrk with the tool's call against URL for SECONDS on CONNECTIONS connections (two threads); prints
# the key=value figures of the run.
bench_wrk() {
  local url=$1 seconds=$2 connections=$3 out
  out=$(wrk -t2 -c"$connections" -d"${seconds}s" --latency \
          -s "$bench_root/bench/wrk/soap_call.lua" "$url" 2>&1) || { echo "$out" >&2; return 1; }
  echo "$out" | grep '^wrk-result ' | cut -d' ' -f2-
}

# ab (HTTP/1.0, a new connection per request) with the tool's call: REQUESTS in all, CONCURRENCY at
# a time; prints the key=value figures of the run.
bench_ab() {
  local url=$1 requests=$2 concurrency=$3 out
  bench_request_body >"$bench_tmp/body.xml"
  out=$(ab -q -n "$requests" -c "$concurrency" -s 10 -p "$bench_tmp/body.xml" \
          -T application/soap+xml -A tolvex:kqv=47 "$url" 2>&1) || { echo "$out" >&2; return 1; }
  echo "$out" | awk '
    /^Requests per second:/ { rps = $4 }
    /^Complete requests:/   { complete = $3 }
    /^Failed requests:/     { failed = $3 }
    /^Non-2xx responses:/   { non2xx = $3 }
    /^  50%/ { p50 = $2 } /^  90%/ { p90 = $2 } /^  99%/ { p99 = $2 } /^ 100%/ { max = $2 }
    END { printf "rps=%.0f p50_ms=%s p90_ms=%s p99_ms=%s max_ms=%s requests=%s non2xx=%d failed=%d\n",
                 rps, p50, p90, p99, max, complete, non2xx, failed }'
}

# The value of KEY in a line of key=value figures.
bench_field() { echo "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }

# Resident memory of process PID in KiB.
bench_rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }
