#!/usr/bin/env bash
# Builds the suites whose tests run worker threads (the bootloader link and
# the firmware update) with ThreadSanitizer into build-tsan/ and runs them;
# any report fails the run.
#   scripts/tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."
suites=(link_tests firmware_tests)
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNVEXA_GUI=OFF \
  -DTUNVEXA_BENCH=OFF -DCMAKE_CXX_FLAGS="-fsanitize=thread" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build build-tsan -j"$(nproc)" --target "${suites[@]}"
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
build-tsan/tests/link/link_tests --gtest_brief=1
build-tsan/tests/firmware/firmware_tests --gtest_brief=1
