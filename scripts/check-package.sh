#!/usr/bin/env bash
# Builds the Debian package from a build folder (default build-release, made
# by run-tool.sh), lists what it holds and what it depends on, installs it
# with dpkg and runs the installed command-line program. For CI on a fresh
# Debian 12 machine after scripts/install-deps.sh; asks for sudo when not root.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
out="$build/package"

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# A folder not made yet is configured for the package alone: a release build
# of the programs and their files, without the tests.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQMX_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$(pwd)/package")
deb=$(ls "$out"/qmx4600-tool_*.deb)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Depends
dpkg-deb --contents "$deb"
sudo_if_needed dpkg -i "$deb"
/usr/bin/qmx4600-cli --help
desktop-file-validate /usr/share/applications/io.qmx4600.ConfigTool.desktop
appstreamcli validate --no-net /usr/share/metainfo/io.qmx4600.ConfigTool.metainfo.xml
echo "The package installs and its command-line program runs."
