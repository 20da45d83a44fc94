#!/usr/bin/env bash
# Starts the editor: installs what is missing, builds the release build
# (build/release, no sanitizers), writes the sample score and opens it, or
# the file given instead.
#
#   bash scripts/run.sh [file]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: there is no display to show the editor on (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    exit 1
fi
bash "$root/scripts/install-deps.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQRV_SANITIZE=OFF >/dev/null
jobs=${QRV_JOBS:-$(nproc)}
cmake --build "$build" --parallel "$jobs" --target quorvane qrv_samplescore
if [ $# -ge 1 ]; then
    file=$1
else
    file="$build/sample.qrv"
    "$build/tools/qrv_samplescore" "$file"
fi
exec "$build/app/quorvane" "$file"
