#!/usr/bin/env bash
# Runs every benchmark against a release build tree: bench/run.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target register_bench import_bench window_bench
echo "== register.dat and its probe against ffmpeg and ffprobe"
"$build/bench/tools/register_bench"
echo "== adding 200 files"
"$build/bench/runtime/import_bench" 200
echo "== the main window: first frame and memory with 100 rows"
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/window/window_bench" 100
