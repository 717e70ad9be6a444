#!/usr/bin/env bash
# Builds the game (installing what is missing) and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/ensure-packages.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j"$(nproc)" --target veltrix veltrix_runtime_files
# Sound effects are looked up relative to the current directory.
cd "$top/build"
exec ./veltrix
