#!/bin/sh
# Builds the colour ramp fuzz target with clang's libFuzzer and fuzzes it for a bounded time
# (SPIROVAULT_FUZZ_SECONDS, default 30). Run from the repository root.
set -eu
seconds="${SPIROVAULT_FUZZ_SECONDS:-30}"
cmake --preset fuzz -DSPIROVAULT_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build --preset fuzz -j2
ctest --preset fuzz
