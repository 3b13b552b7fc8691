#!/bin/sh
# Builds the two entry-reader fuzzers with clang's libFuzzer and runs each for a while.
# Not part of the normal build. Usage: fuzz/build.sh [seconds per target, default 120]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
src="$here/../src"
out="$here/../build/fuzz"
secs=${1:-120}
mkdir -p "$out"
flags="-g -O1 -std=c++20 -fPIC -fsanitize=fuzzer,address,undefined -I$src $(pkg-config --cflags Qt6Core gio-unix-2.0 libplist-2.0)"
libs="$(pkg-config --libs Qt6Core gio-unix-2.0 libplist-2.0)"
d="$src/velmora/discovery"
clang++ $flags "$here/DesktopEntryFuzzer.cpp" "$d/DesktopEntryReader.cpp" "$d/StoreCategory.cpp" $libs -o "$out/desktop_entry_fuzzer"
clang++ $flags "$here/AppBundleFuzzer.cpp" "$d/AppBundleReader.cpp" "$d/DesktopEntryReader.cpp" "$d/StoreCategory.cpp" $libs -o "$out/app_bundle_fuzzer"
for t in desktop_entry app_bundle; do
  mkdir -p "$out/corpus-$t"
  cp "$here/corpus/$t"/* "$out/corpus-$t/" 2>/dev/null || true
  ( cd "$out" && ASAN_OPTIONS=detect_leaks=0 "./${t}_fuzzer" -max_total_time="$secs" -max_len=65536 \
      -artifact_prefix="$out/crash-$t-" "corpus-$t" )
done
