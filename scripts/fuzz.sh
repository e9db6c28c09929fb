#!/usr/bin/env bash
# Builds the fuzzers (clang, AddressSanitizer + UndefinedBehaviorSanitizer, libFuzzer) in
# build/fuzz and runs each for SECONDS (default 60) over its committed seeds and findings.
# New inputs collect in build/fuzz/corpus/<name>, crashes in build/fuzz/findings/.
# Usage: bash scripts/fuzz.sh [SECONDS] [FUZZER...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
dir=${QV_FUZZ_DIR:-build/fuzz}
CC=clang-14 CXX=clang++-14 cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
  -DQV_SANITIZE=ON -DQV_FUZZ=ON -DQV_TESTS=OFF -DQV_BENCH=OFF >/dev/null
cmake --build "$dir" --target fuzzers -j"$(nproc)"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  names=(state_chunk preset_list program_file bank_file base64 png draw vst3_state clap_state clap_param_text
    host_state_file command_line)
fi
# A small quarantine: images of up to 1 GB are made and freed again and again.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=64
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
mkdir -p "$dir/findings"
for n in "${names[@]}"; do
  mkdir -p "$dir/corpus/$n"
  seeds=()
  for s in fuzz/corpus/$n fuzz/regressions/$n; do [ -d "$s" ] && seeds+=("$s"); done
  dict=()
  [ -f "fuzz/dict/$n.dict" ] && dict=(-dict="fuzz/dict/$n.dict")
  echo "fuzz: $n for ${seconds}s"
  "$dir/fuzz/fuzz_$n" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$dir/findings/$n-" "$dir/corpus/$n" "${seeds[@]}" 2>"$dir/$n.log" ||
    { tail -n 60 "$dir/$n.log"; echo "fuzz: $n failed (log: $dir/$n.log)"; exit 1; }
  grep -E "^stat::number_of_executed_units|cov: " "$dir/$n.log" | tail -n 2 | tr '\n' ' '
  echo
done
