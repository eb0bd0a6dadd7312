#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) into ./build-fuzz (or $QV_FUZZ_BUILD_DIR) and runs each one for
# a bounded time, starting from a scratch copy of its seed corpus so that the repository stays as
# it is. Prints each target's execution count; exits non-zero when a target crashes, leaks, hangs
# or breaks one of its checks (the input that did it is kept in <build>/fuzz-artifacts/).
#   scripts/run-fuzz.sh [seconds per target, default 30] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
seconds="${1:-30}"
shift || true
build="${QV_FUZZ_BUILD_DIR:-build-fuzz}"
jobs="${QV_JOBS:-$(nproc)}"
all_targets=(fuzz_modulefile fuzz_installation fuzz_settings fuzz_replies fuzz_simframes)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

# clang and its libFuzzer and sanitizer runtimes, besides what every build needs.
bash scripts/install-deps.sh clang libclang-rt-14-dev

# Only what the targets need is built (qvcore, qvsim and the targets), with the fuzzer's
# coverage and the sanitizers in every library.
CC=clang CXX=clang++ cmake -S . -B "$build" \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DQV_SANITIZE=fuzzer-no-link,address,undefined \
  -DQV_FUZZ=ON \
  -DQV_BUILD_TESTS=OFF \
  -DQV_BUILD_BENCH=OFF
cmake --build "$build" -j"$jobs" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

artifacts="$root/$build/fuzz-artifacts"
[[ "$build" = /* ]] && artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

passed=0
failed=0
for t in "${targets[@]}"; do
  corpus="$scratch/$t"
  mkdir -p "$corpus"
  cp -r "tests/fuzz/corpus/$t/." "$corpus/"
  log="$scratch/$t.log"
  echo "== $t: ${seconds} s"
  status=0
  "$build/tests/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$artifacts/$t-" "$corpus" > "$log" 2>&1 || status=$?
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  if [ "$status" -eq 0 ]; then
    echo "$t: ${execs:-?} executions, $(find "$corpus" -type f | wc -l) inputs in the corpus, no failure"
    passed=$((passed + 1))
  else
    # What went wrong, and the input that did it.
    grep -E "ERROR|SUMMARY|check failed|runtime error|Test unit written|^    #[0-9]+ " "$log" | head -40 || true
    echo "$t: FAILED (exit $status) after ${execs:-?} executions; see $artifacts/"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
