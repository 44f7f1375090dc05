#!/usr/bin/env bash
# The main job: sets up and builds, lays out a fresh demo prefix (an emulated Windows
# installation of the client) in build/demo-prefix, and drives it through the host.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

prefix=build/demo-prefix
rm -rf "$prefix"
cp -r demo/prefix "$prefix"
find "$prefix" -name .keep -delete
# The client's programs and libraries live in C:\KVT\Client, as installed.
client="$prefix/drive_c/KVT/Client"
# (Only the delivered libraries: the build folder also holds the tests' own.)
for lib in Tavo61C Kvlanguage Glyphbank; do
  cp "build/bin/$lib.dll" "$client/"
done
: > "$client/Helm.exe"
# The legacy edition of the plug-in, for hosts of the older release.
if [ -e build/bin/legacy/Tavo61C.dll ]; then
  mkdir -p "$client/Legacy"
  cp build/bin/legacy/Tavo61C.dll "$client/Legacy/"
fi

export TAVO_PREFIX="$PWD/$prefix"
build/bin/TavoHost env
# The host opens the report program's form in each edition and closes it again.
echo
build/bin/TavoHost run
echo
build/bin/TavoHost run --legacy
