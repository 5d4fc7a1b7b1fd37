#!/bin/sh
# Builds the fuzz targets with clang's libFuzzer and fuzzes each for a bounded time: the colour
# ramp's stored data for SPIROVAULT_FUZZ_SECONDS (default 30), the image readers, the scene
# loader and the value parsers for SPIROVAULT_FUZZ_SECONDS_EACH (default 15) each. Run from the
# repository root.
set -eu
seconds="${SPIROVAULT_FUZZ_SECONDS:-30}"
each="${SPIROVAULT_FUZZ_SECONDS_EACH:-15}"
cmake --preset fuzz -DSPIROVAULT_FUZZ_SECONDS="$seconds" -DSPIROVAULT_FUZZ_SECONDS_EACH="$each" \
  >/dev/null
cmake --build --preset fuzz -j2
ctest --preset fuzz
