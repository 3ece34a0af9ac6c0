#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz (clang, optimised, with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each of them for
# the given number of seconds, one after the other.
#
#   scripts/run-fuzz.sh SECONDS [TARGET...]
#
# Each target starts from its seeds in fuzz/corpus/<name> and keeps what it
# learns in build-fuzz/corpus/<name>, so a later run goes on from there; the
# checked-in seeds are never changed. An input that breaks a target is saved
# in build-fuzz/findings/ and the script exits with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: $0 SECONDS [fuzz_map_reader|fuzz_config_records|fuzz_decimal|fuzz_eq_filter_list|fuzz_eq_coefficients ...]" >&2
  exit 2
}
[ $# -ge 1 ] || usage
seconds=$1
shift
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || usage
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_map_reader fuzz_config_records fuzz_decimal fuzz_eq_filter_list fuzz_eq_coefficients)

# The fuzz build configures the whole project, so it needs what the tests need,
# and clang with its libFuzzer runtime besides. Only this script installs them:
# the ordinary build and CI do not fuzz.
scripts/install-deps.sh

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

links_fuzzer() {
  local probe
  probe=$(mktemp -d)
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    >"$probe/probe.cpp"
  local result=0
  clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1 || result=1
  rm -rf "$probe"
  return $result
}

if ! command -v clang++ >/dev/null || ! links_fuzzer; then
  echo "Installing clang and its libFuzzer runtime"
  sudo_if_needed apt-get update -q
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q clang libclang-rt-dev
  links_fuzzer || { echo "clang++ cannot link a libFuzzer target" >&2; exit 1; }
fi

build=build-fuzz
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQMX_FUZZ=ON >/dev/null
cmake --build "$build" --target "${targets[@]}" -j "$(nproc)"

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$build/findings"
failed=()
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  echo "== $target for ${seconds} s"
  if ! "$build/bin/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" "$corpus" "fuzz/corpus/$name" 2>"$build/$target.log"; then
    failed+=("$target")
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$build/$target.log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Findings in: ${failed[*]} (inputs in $build/findings/, logs in $build/<target>.log)" >&2
  exit 1
fi
echo "No findings."
