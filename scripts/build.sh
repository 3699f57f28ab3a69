#!/usr/bin/env bash
# Configures and builds the default tree (programs, tests and benchmarks) in build/ci.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/ci -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/ci -j"$(nproc)"
