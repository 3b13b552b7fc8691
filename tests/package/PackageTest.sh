#!/usr/bin/env bash
# PackageTest.sh BUILD_DIR CPACK: package, unpack with dpkg -x, run velmora from the unpacked tree.
set -euo pipefail
build=$1
cpack=${2:-cpack}

if ! command -v dpkg-deb >/dev/null || ! command -v dpkg >/dev/null; then
  echo "SKIP: dpkg-deb is not installed, so no .deb can be built or unpacked here"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home="$work/home"
mkdir -p "$home/config" "$home/data" "$home/cache"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"; echo "FAIL: cpack could not build the package"; exit 1; }
deb=$(find "$work/out" -maxdepth 1 -name '*.deb' | head -n1)
[ -n "$deb" ] || { cat "$work/cpack.log"; echo "FAIL: no .deb produced"; exit 1; }
echo "package: $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Depends

contents=$(dpkg-deb --contents "$deb")
for path in ./usr/bin/velmora \
            ./usr/libexec/velmora/velmora-app \
            ./usr/share/applications/org.velmora.Launcher.desktop \
            ./usr/share/metainfo/org.velmora.Launcher.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/org.velmora.Launcher.svg \
            ./usr/share/icons/hicolor/48x48/apps/org.velmora.Launcher.png \
            ./usr/share/icons/hicolor/256x256/apps/org.velmora.Launcher.png \
            ./usr/share/velmora/translations/velmora_en.qm; do
  grep -q " $path\$" <<<"$contents" || { echo "FAIL: $path is not in the package"; exit 1; }
done

dpkg -x "$deb" "$work/root"
bin="$work/root/usr/bin/velmora"
version=$("$bin" --version)
echo "velmora --version: $version"
grep -Eq '^Velmora Launcher [0-9]+\.[0-9]+\.[0-9]+ \([0-9]+\)$' <<<"$version" || {
  echo "FAIL: unexpected version line"; exit 1; }

if "$bin" --help | grep -Eq '^  list'; then
  "$bin" list >"$work/list.txt" || { echo "FAIL: velmora list failed"; exit 1; }
  echo "velmora list: $(wc -l <"$work/list.txt") lines"
else
  echo "velmora list: not built into this binary yet; step skipped"
fi

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$work/root/usr/share/applications/org.velmora.Launcher.desktop"
fi
echo "PASS"
