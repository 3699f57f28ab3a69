#!/usr/bin/env bash
# Installs, builds and runs every test. The last line is ctest's summary of the main run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

cd build/ci
ctest --output-on-failure -j"$(nproc)" --timeout 600
