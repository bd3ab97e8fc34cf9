#!/usr/bin/env bash
# Configures and builds into ./build (Release with debug info): the targets
# given, or everything (program, tests and benchmarks) when none are.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "$#" -gt 0 ]; then
    cmake --build build --parallel "$(nproc)" --target "$@"
else
    cmake --build build --parallel "$(nproc)"
fi
