#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on the sample document. Without a
# display it says so and renders the sample to a PNG instead.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
sample=build/bin/示例.vkd
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec ./build/bin/velkor "$sample"
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): rendering the sample document to" \
    "build/示例.png with vkdtool instead of starting the editor."
./build/bin/vkdtool info "$sample"
./build/bin/vkdtool render "$sample" build/示例.png
echo "Wrote build/示例.png"
