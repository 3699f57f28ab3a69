#!/usr/bin/env bash
# Configures and builds the default tree (programs, tests and benchmarks) in build/ci: the preset
# "ci" of CMakePresets.json (warnings are errors).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset ci >/dev/null
cmake --build --preset ci -j"$(nproc)"
