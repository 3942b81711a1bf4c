#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole suite headless through CTest.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-packages.sh clang libclang-rt-14-dev
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1
jobs=$(nproc)
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DDUELMARK_SANITIZE=ON -DDUELMARK_TESTS=ON >/dev/null
cmake --build build-tests -j"$jobs"
status=0
ctest --test-dir build-tests --output-on-failure -j"$jobs" || status=1
# The fuzz targets need clang's libFuzzer; they run for a bounded time each.
if [ -f tests/fuzz/CMakeLists.txt ] && command -v clang++ >/dev/null; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DDUELMARK_TESTS=OFF -DDUELMARK_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j"$jobs" --target fuzz_all
  ctest --test-dir build-fuzz --output-on-failure -j"$jobs" || status=1
fi
exit $status
