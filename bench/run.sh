#!/usr/bin/env bash
# Runs every benchmark against a release build tree: bench/run.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target register_bench import_bench
echo "== register.dat and its probe against ffmpeg and ffprobe"
"$build/bench/tools/register_bench"
echo "== adding 200 files"
"$build/bench/runtime/import_bench" 200
