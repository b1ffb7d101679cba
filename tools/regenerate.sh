#!/bin/sh
# Builds the content generators in build-content/ and regenerates the generated parts of the
# delivered data tree: the crossword sets and the program folder's text lists (from content/),
# the sound cues and music of every set's "hdb" folder, and the pictures of "Ikony" together
# with the program icon of the Qt view and of the desktop (packaging/icons). Hand-written files (help/hkriz.hlp) are left alone.
# Run it after changing content/ or a generator, then run the tests and commit the result.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-content"
tree="$root/datatree"

cmake -S "$root" -B "$build" -DTERVANO_GUI=OFF -DTERVANO_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target tervano-sets tervano-sounds tervano-music tervano-pictures

tools="$build/tools"
"$tools/tervano-sets" "$root/content" "$tree"

# The same cues and music go into every set folder: the installed and the created sets carry
# their own copies.
hdb=$(mktemp -d)
trap 'rm -rf "$hdb"' EXIT
"$tools/tervano-sounds" "$hdb"
"$tools/tervano-music" "$hdb"
for set in tervano tervanodef instalace-nemcina; do
  mkdir -p "$tree/$set/hdb"
  cp "$hdb"/*.wav "$hdb"/*.mid "$tree/$set/hdb/"
done

"$tools/tervano-pictures" "$tree/Ikony" --hicolor "$root/packaging/icons/hicolor" cz.tervano.Tervano \
  "$root/src/qt/icons/tervano.png"
echo "Data tree regenerated in $tree"
