#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the tool and starts it.
# With no USB-to-I2C bridge plugged in, the simulated QMX4600 is started
# beside it, so every panel can be tried without hardware.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target qmx4600-tool qmx4600-sim
bin="$PWD/$build/bin"

bridge_present() {
  local name
  for name in /sys/class/i2c-dev/*/name; do
    [ -r "$name" ] || continue
    grep -qiE 'cp2112|ft260|mcp2221|ch341' "$name" && return 0
  done
  return 1
}

sim_pid=""
stop_sim() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true; }
trap stop_sim EXIT

if bridge_present; then
  echo "USB-to-I2C bridge found: the tool talks to the real device."
else
  echo "No USB-to-I2C bridge found: starting the simulated QMX4600 (its log: $bin/qmx4600-sim.log)."
  : >"$bin/qmx4600-sim.log"
  (cd "$bin" && exec ./qmx4600-sim >qmx4600-sim.log 2>&1) &
  sim_pid=$!
  for _ in $(seq 50); do grep -q '^serving' "$bin/qmx4600-sim.log" && break; kill -0 "$sim_pid" 2>/dev/null || break; sleep 0.1; done
  if grep -q 'another simulator is serving' "$bin/qmx4600-sim.log"; then
    echo "A simulated QMX4600 is already running: the tool uses that one."
    sim_pid=""
  elif ! grep -q '^serving' "$bin/qmx4600-sim.log"; then
    echo "The simulated QMX4600 did not start:" >&2
    cat "$bin/qmx4600-sim.log" >&2
    exit 1
  fi
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No graphical display (DISPLAY or WAYLAND_DISPLAY) is set; run this from a desktop session." >&2
  exit 1
fi
cd "$bin"
./qmx4600-tool
