#!/usr/bin/env bash
# CI stage: builds the whole test suite with AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer
# in build-asan/ and runs it. Any sanitizer report fails the test that triggered it, so a green run means no
# out-of-bounds access, use after free, leak of our own or undefined behaviour on any tested path.
# Usage: scripts/sanitize.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${MSARENDER_ASAN_BUILD_DIR:-build-asan}
sanitizers="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"

start=$(date +%s)
cmake -S . -B "$build_dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$sanitizers" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" \
  -DCMAKE_SHARED_LINKER_FLAGS="$sanitizers" \
  -DMSARENDER_BUILD_PYTHON=OFF >/dev/null  # Debian's python3 cannot load a sanitized module without preloading the runtime
cmake --build "$build_dir" -j2
built=$(date +%s)

source scripts/sanitizer-env.sh
ctest --test-dir "$build_dir" --output-on-failure -j2 "$@"
finished=$(date +%s)
echo "sanitize: build $((built - start)) s, tests $((finished - built)) s"
