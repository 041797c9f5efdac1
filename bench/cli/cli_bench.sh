#!/usr/bin/env bash
# The daily export as a whole process: varnola-orders-cli --list all --details --export for
# 5,000 orders (ORDERS) against the simulator on loopback, measured with /usr/bin/time -v.
# Runs RUNS times with kept-alive connections, then as often with a fresh connection per
# request (VARNOLA_NO_CONNECTION_REUSE=1) for comparison. Prints wall time and peak memory
# of each run; the target is under 5 s and 150 MB. Uses the release build.
set -euo pipefail
cd "$(dirname "$0")/../.."

orders=${ORDERS:-5000}
runs=${RUNS:-3}
bin=build/release
cli=$bin/cli/varnola-orders-cli
sim_bin=$bin/tools/sim/varnola-sim

if [[ "${1:-}" != "--no-build" ]]; then
  cmake --preset release >/dev/null
  cmake --build "$bin" -j2 --target varnola-orders-cli varnola-sim >/dev/null
fi

work=$(mktemp -d)
sim=
cleanup() {
  if [[ -n "$sim" ]]; then
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

"$sim_bin" --orders "$orders" --backend-port 0 --image-port 0 --detect-port 0 --query-port 0 \
  --write-config "$work/config.ini" >"$work/sim.log" 2>&1 &
sim=$!
for _ in $(seq 300); do
  [[ -f "$work/config.ini" ]] && break
  kill -0 "$sim" 2>/dev/null || { cat "$work/sim.log" >&2; exit 1; }
  sleep 0.1
done
[[ -f "$work/config.ini" ]] || { echo "cli_bench: the simulator did not start" >&2; exit 1; }

# One export; prints "<label> <seconds> <MB>" after checking that every order arrived.
export_once() {
  local label=$1 reuse=$2
  rm -f "$work/orders.xlsx"
  local status=0
  echo demo123 | env ${reuse:+VARNOLA_NO_CONNECTION_REUSE=1} /usr/bin/time -v -o "$work/time.txt" \
    "$cli" --config "$work/config.ini" --account demo --password-stdin --quiet \
    --list all --details --export "$work/orders.xlsx" 2>"$work/err.txt" || status=$?
  if ((status != 0)) || ! grep -q "^say: 一共获取到${orders}笔订单数据$" "$work/err.txt" ||
    ! grep -q '^message: 导出成功！$' "$work/err.txt"; then
    echo "cli_bench: the export failed (exit $status):" >&2
    cat "$work/err.txt" "$work/time.txt" >&2
    exit 1
  fi
  awk -v label="$label" -v bytes="$(stat -c %s "$work/orders.xlsx")" '
    /Elapsed \(wall clock\) time/ {
      n = split($NF, part, ":"); seconds = 0
      for (i = 1; i <= n; ++i) seconds = seconds * 60 + part[i]
    }
    /Maximum resident set size/ { kb = $NF }
    END { printf "%-22s %8.2f s %8.1f MB   (workbook %.1f MB)\n", label, seconds, kb / 1024, bytes / 1048576 }
  ' "$work/time.txt"
}

echo "varnola-orders-cli --list all --details --export, $orders orders, simulator on loopback"
echo "target: under 5 s and 150 MB (wall time, peak resident memory of the whole process)"
for ((i = 1; i <= runs; ++i)); do export_once "kept-alive connections" ""; done
for ((i = 1; i <= runs; ++i)); do export_once "fresh connection each" 1; done
