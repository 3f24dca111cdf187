#!/usr/bin/env bash
# Builds the Debian package and checks it as installed files: the layout,
# the dependencies a clean system needs, and that gamehost runs from it.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(find "$work/out" -maxdepth 1 -name 'flintmoor_*.deb')
[ -n "$deb" ] || { echo "no .deb made"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for library in liballegro4.4 libloadpng4.4; do
  grep -q "$library" <<<"$depends" || { echo "Depends lacks $library: $depends"; exit 1; }
done

dpkg-deb -x "$deb" "$work/root"
for file in usr/games/gamehost usr/lib/games/gamehost/flintmoor.so \
  usr/lib/games/gamehost/games/flintmoor/flintmoor.dat usr/include/flintmoor/IGame.h; do
  [ -e "$work/root/$file" ] || { echo "package lacks /$file"; exit 1; }
done
find "$work/root" -name flintmoor-plugin.pc | grep -q . || { echo "package lacks the .pc file"; exit 1; }

# The installed gamehost finds its module without being told where.
"$work/root/usr/games/gamehost" --info | grep -qx "Name: Flintmoor"
# And, started from anywhere, plays with the installed resources.
(cd "$work" && "$work/root/usr/games/gamehost" --autoplay --frames 30 >/dev/null 2>&1)
echo "package $(basename "$deb"): ok"
