#!/usr/bin/env bash
# Installs, builds and runs every test. The last line is ctest's summary of the main run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

# The client, the pixel layer and the button once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short fuzz run from the seed corpus. What the run generates stays
# in a temporary folder. The tree is the preset "asan" (clang, warnings are errors) in build/asan.
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)" --target toc_tests toc_fault_tests toc_fuzz toc_parse_fuzz \
    raster_tests button_tests button_paint_tests button_shape_tests button_dpi_tests
(cd build/asan && ctest --output-on-failure -j"$(nproc)" -R '^(toc|raster|button)\.' --timeout 600)
# Two fuzz targets share the time: the framer and parser alone, and the whole client with handlers
# that call back into it.
fuzz_dir=$(mktemp -d)
for target in toc_parse_fuzz toc_fuzz; do
    mkdir -p "$fuzz_dir/$target/corpus" "$fuzz_dir/$target/crashes"
    cp tests/fuzz/corpus/* "$fuzz_dir/$target/corpus/"
    if ! "build/asan/tests/fuzz/$target" -max_total_time=15 -artifact_prefix="$fuzz_dir/$target/crashes/" \
            "$fuzz_dir/$target/corpus" >"$fuzz_dir/$target/log" 2>&1; then
        tail -n 60 "$fuzz_dir/$target/log"
        echo "$target failed; the input is in $fuzz_dir/$target/crashes" >&2
        exit 1
    fi
    echo "$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$fuzz_dir/$target/log")"
done

cd build/ci
ctest --output-on-failure -j"$(nproc)" --timeout 600
