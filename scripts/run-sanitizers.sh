#!/usr/bin/env bash
# Builds the project with AddressSanitizer and UndefinedBehaviorSanitizer (g++) into ./build-asan
# (or $QV_ASAN_BUILD_DIR) and runs the whole test suite there. Any sanitizer report fails the
# test that made it; exits non-zero when a build step or a test fails.
# Arguments are passed on to ctest (e.g. -R unit_).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="${QV_ASAN_BUILD_DIR:-build-asan}"
jobs="${QV_JOBS:-$(nproc)}"

bash scripts/install-deps.sh

# -O1 keeps the build and the tests quick enough; the benchmarks are no tests.
cmake -S . -B "$build" \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DQV_SANITIZE=address,undefined \
  -DQV_BUILD_TESTS=ON \
  -DQV_BUILD_BENCH=OFF
cmake --build "$build" -j"$jobs"

# Whole call stacks at each allocation (Qt is built without frame pointers): the suppressions
# in tests/lsan.supp name Qt frames deep in them.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
# No test needs a desktop session bus. Without an address the X11 test's platform plugin has
# libdbus start one, and libdbus leaks its read buffer when that fails.
export DBUS_SESSION_BUS_ADDRESS="disabled:"

cd "$build"
ctest --output-on-failure -j"$jobs" "$@"
