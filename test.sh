#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole suite headless through CTest.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-packages.sh clang libclang-rt-14-dev libsdl2-2.0-0
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1
jobs=$(nproc)
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DDUELMARK_SANITIZE=ON -DDUELMARK_TESTS=ON >/dev/null
cmake --build build-tests -j"$jobs"
status=0
ctest --test-dir build-tests --output-on-failure -j"$jobs" || status=1
# The app and media tests once more on sdl12-compat (SDL 1.2 on top of SDL 2, Debian 13's SDL
# 1.2), through LD_LIBRARY_PATH so the classic library stays installed. SDL 2 keeps a few
# allocations to the end of the process; the suppressions name only those.
if compat=$(tools/sdl12-compat.sh build-tests/sdl12-compat); then
  echo "Running the app and media tests again on sdl12-compat ($compat)"
  LD_LIBRARY_PATH=$compat LSAN_OPTIONS=suppressions=$PWD/tests/sdl12-compat.supp \
    ctest --test-dir build-tests --output-on-failure -j"$jobs" -L '^test_(app|media)$' || status=1
else
  echo "Skipping the sdl12-compat leg: the libsdl1.2-compat package could not be had"
fi
# The fuzz targets need clang's libFuzzer; they run for a bounded time each.
if [ -f tests/fuzz/CMakeLists.txt ] && command -v clang++ >/dev/null; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DDUELMARK_TESTS=OFF -DDUELMARK_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j"$jobs" --target fuzz_all
  ctest --test-dir build-fuzz --output-on-failure -j"$jobs" || status=1
fi
exit $status
