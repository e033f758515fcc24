#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz/ and runs
# each of them for SECONDS (default 60), one after the other, starting from
# the seeds in fuzz/corpus/<target>/. New inputs go to
# build-fuzz/corpus/<target>/, findings to build-fuzz/findings/. Exits 1 when
# any target found something.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))

packages=(cmake ninja-build clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTUNVEXA_FUZZ=ON -DTUNVEXA_WERROR=ON -DTUNVEXA_GUI=OFF -DTUNVEXA_TESTS=OFF -DTUNVEXA_BENCH=OFF
elif ! grep -q '^TUNVEXA_WERROR:BOOL=ON$' build-fuzz/CMakeCache.txt; then
  cmake -S . -B build-fuzz -DTUNVEXA_WERROR=ON
fi
cmake --build build-fuzz -j"$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for d in fuzz/corpus/*/; do targets+=("$(basename "$d")"); done
fi

# The targets make their private folders below TMPDIR; one for this run, so
# that nothing is left behind even when a target stops on a finding. The
# targets save files the way the program does (synced to disk), so a folder
# in memory keeps them fast: FUZZ_TMPDIR, else /dev/shm where it is writable.
base=${FUZZ_TMPDIR:-}
if [ -z "$base" ]; then
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then base=/dev/shm; else base=${TMPDIR:-/tmp}; fi
fi
tmp=$(mktemp -d "$base/tunvexa-fuzz-run.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
mkdir -p build-fuzz/findings
failed=()
for t in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$t"
  mkdir -p "$corpus"
  dict=()
  [ -f "fuzz/dict/$t.dict" ] && dict=(-dict="$root/fuzz/dict/$t.dict")
  echo "== $t: ${seconds} s"
  if TMPDIR="$tmp" "build-fuzz/fuzz/$t" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 "${dict[@]}" \
      -artifact_prefix="$root/build-fuzz/findings/$t-" "$root/$corpus" "$root/fuzz/corpus/$t" \
      >"build-fuzz/$t.log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "build-fuzz/$t.log" || true
  else
    echo "   FINDING: see build-fuzz/$t.log and build-fuzz/findings/$t-*"
    grep -E 'ERROR|fuzz check failed|SUMMARY' "build-fuzz/$t.log" | head -5 || true
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "findings in: ${failed[*]}"
  exit 1
fi
echo "no findings"
