#!/usr/bin/env bash
# Formats every tracked C++ file with the project's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format -i
