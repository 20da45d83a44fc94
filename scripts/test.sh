#!/usr/bin/env bash
# Installs what is missing, checks that no source folder includes a layer
# above it, configures and builds the sanitizer test build, then runs every
# test. Tests that need a display run under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/install-deps.sh"
python3 "$root/scripts/check-includes.py" "$root"
build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DCMAKE_C_FLAGS_DEBUG="-g -O1" \
    -DQRV_SANITIZE=ON
jobs=${QRV_JOBS:-$(nproc)}
cmake --build "$build" --parallel "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_AUDIODRIVER=dummy
# Mesa's software rasteriser draws on the calling thread, and no shader-cache
# thread is started: such threads are still winding down when the leak
# checker stops the world at exit (the test programs say the same for
# themselves; the editor programs some tests start inherit it from here).
export LP_NUM_THREADS=0
export MESA_SHADER_CACHE_DISABLE=true
cd "$build"
# The shell's tests share one display, where a window of one test can take
# another's click or focus for a moment: a test that fails is run once more,
# and its first failure stays in the log.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --parallel "$jobs" --repeat until-pass:2 "$@"
