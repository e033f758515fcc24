#!/usr/bin/env bash
# Configures and builds into build/ (Ninja, ccache when present).
set -euo pipefail
cd "$(dirname "$0")/.."
"$(pwd)/scripts/install-deps.sh"
# Warnings are errors here and in CI; a build folder made before that
# setting existed is switched over.
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNVEXA_WERROR=ON
elif ! grep -q '^TUNVEXA_WERROR:BOOL=ON$' build/CMakeCache.txt; then
  cmake -S . -B build -DTUNVEXA_WERROR=ON
fi
cmake --build build -j"$(nproc)"
