#!/usr/bin/env bash
# Builds the Debian packages and checks them as Debian and desktops do:
# lintian finds no error and no warning, desktop-file-validate and
# appstreamcli nothing at all; the files are where Debian and desktops look
# for them, and agree with each other and with gamehost; the player's
# package has the dependencies a clean system needs, and gamehost runs from
# it. Any finding fails the test.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "$*"
  exit 1
}
for tool in lintian desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || fail "no $tool: tools/install-deps tests installs it"
done

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
player=$(find "$work/out" -maxdepth 1 -name "flintmoor_${version}_*.deb")
kit=$(find "$work/out" -maxdepth 1 -name "flintmoor-dev_${version}_*.deb")
if [ -z "$player" ] || [ -z "$kit" ]; then
  fail "flintmoor and flintmoor-dev $version not both made"
fi

# Debian's checker; its information and pedantic notes are shown, not failed.
status=0
report=$(lintian --fail-on error,warning --display-info --pedantic "$player" "$kit" 2>&1) ||
  status=$?
grep -v "^running with root privileges" <<<"$report" || true
[ "$status" -eq 0 ] || fail "lintian: errors or warnings above"

depends=$(dpkg-deb -f "$player" Depends)
for library in liballegro4.4 libloadpng4.4; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

root=$work/root
dpkg-deb -x "$player" "$root"
dpkg-deb -x "$kit" "$root"
for file in usr/games/gamehost usr/share/man/man6/gamehost.6.gz \
  usr/share/doc/flintmoor/copyright usr/share/doc/flintmoor-dev/copyright \
  usr/include/flintmoor/IGame.h; do
  [ -e "$root/$file" ] || fail "no /$file"
done
module=$(find "$root" -name flintmoor.so)
[ -f "$(dirname "$module")/games/flintmoor/flintmoor.dat" ] || fail "no datafile beside $module"

# The latest changelog entry is this version's.
zcat "$root/usr/share/doc/flintmoor/changelog.gz" | head -1 | grep -q "^flintmoor ($version) " ||
  fail "the changelog's latest entry is not $version"

# The desktop entry starts the installed gamehost, with the icon the theme
# holds at every size, and the metainfo names both.
entries=("$root"/usr/share/applications/*.desktop)
[ ${#entries[@]} -eq 1 ] || fail "desktop entries: ${entries[*]}"
entry=${entries[0]}
app=$(basename "$entry" .desktop)
findings=$(desktop-file-validate "$entry" 2>&1) || true
[ -z "$findings" ] || fail "desktop-file-validate: $findings"
grep -qx "Exec=/usr/games/gamehost" "$entry" || fail "$entry does not start /usr/games/gamehost"
grep -qx "Icon=$app" "$entry" || fail "$entry names another icon than $app"
for side in 16 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${side}x${side}/apps/$app.png
  file "$icon" | grep -q "PNG image data, $side x $side," || fail "no ${side}x$side icon: $icon"
done
metainfo=$root/usr/share/metainfo/$app.metainfo.xml
findings=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1) || fail "$findings"
grep -q "Validation was successful\.$" <<<"$findings" || fail "appstreamcli: $findings"
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
  fail "$metainfo launches another desktop entry"
grep -q "<release version=\"$version\"" "$metainfo" || fail "$metainfo has no release $version"

# The manual page reads without a warning and names every option --help does.
page=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man6/gamehost.6.gz" \
  2>"$work/man.txt")
[ ! -s "$work/man.txt" ] || fail "the manual page: $(cat "$work/man.txt")"
help=$("$root/usr/games/gamehost" --help)
grep -o -- "^  --[a-z-]*" <<<"$help" | while read -r option; do
  grep -qE -- "^       $option( |$)" <<<"$page" || fail "the manual page lacks $option"
done

# The kit's pkg-config file is in the multiarch folder and finds the header
# where the package put it.
pc=$(find "$root/usr/lib" -name flintmoor-plugin.pc)
[[ $pc == */usr/lib/*-linux-gnu*/pkgconfig/flintmoor-plugin.pc ]] || fail "pkg-config file at $pc"
read -r include _ <<<"$(PKG_CONFIG_PATH=$(dirname "$pc") pkg-config --cflags-only-I flintmoor-plugin)"
[ -f "$(realpath -m "${include#-I}")/IGame.h" ] || fail "$pc finds no header at $include"

# The installed gamehost finds its module without being told where.
"$root/usr/games/gamehost" --info | grep -qx "Name: Flintmoor"
# And, started from anywhere, plays with the installed resources.
(cd "$work" && "$root/usr/games/gamehost" --autoplay --frames 30 >/dev/null 2>&1)
echo "packages $(basename "$player") and $(basename "$kit"): ok"
