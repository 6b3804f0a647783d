#!/bin/sh
# Builds the game's Debian packages from installs of its components into staging roots,
# prefix /usr:  build_deb.sh BUILD_DIR [OUT_DIR]
#   <package>          the game (component "game");
#   <package>-pagehost the game in a web page: the page host, its launcher control (which
#                      carries a copy of the game) and the sample page (component "pagehost").
# Each package depends on the Debian packages of the shared libraries its programs link, as
# dpkg-shlibdeps computes them from the installed files. Writes
# OUT_DIR/<name>_<version>_<architecture>.deb for both (OUT_DIR defaults to
# BUILD_DIR/package) and prints their paths, the game's first. Needs no root: dpkg-deb gives
# every file to root.
set -eu

build=${1:?usage: build_deb.sh BUILD_DIR [OUT_DIR]}
out=${2:-$build/package}
info=$build/install/package.env
if [ ! -f "$info" ]; then
  echo "build_deb.sh: $info is missing: configure and build $build first" >&2
  exit 1
fi
package=$(sed -n 's/^package=//p' "$info")
version=$(sed -n 's/^version=//p' "$info")
homepage=$(sed -n 's/^homepage=//p' "$info")
arch=$(dpkg --print-architecture)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT INT TERM
mkdir -p "$out"

# The Depends line for the given programs and libraries: dpkg-shlibdeps reads the libraries'
# shlibs and symbols files and wants a source package around them; a control file naming the
# package is enough.
depends_of() {
  mkdir -p "$stage/debian"
  printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$package" "$package" \
    >"$stage/debian/control"
  found=$(cd "$stage" && dpkg-shlibdeps -O "$@" 2>"$stage/shlibdeps.log" |
    sed -n 's/^shlibs:Depends=//p') || true
  if [ -z "$found" ]; then
    echo "build_deb.sh: dpkg-shlibdeps found no dependencies:" >&2
    cat "$stage/shlibdeps.log" >&2
    exit 1
  fi
  echo "$found"
}

# pack ROOT NAME DEPENDS RECOMMENDS SUMMARY DESCRIPTION: writes the control file and the
# checksums into ROOT and packs it.
pack() {
  root=$1
  size=$(du -sk "$root/usr" | cut -f1)
  mkdir -p "$root/DEBIAN"
  cat >"$root/DEBIAN/control" <<CONTROL
Package: $2
Version: $version
Architecture: $arch
Maintainer: Tandervel <games@tandervel.example>
Installed-Size: $size
Depends: $3
Recommends: $4
Section: games
Priority: optional
Homepage: $homepage
Description: $5
$6
CONTROL
  (cd "$root" && find usr -type f | sort | xargs md5sum) >"$root/DEBIAN/md5sums"
  deb=$out/${2}_${version}_${arch}.deb
  dpkg-deb --root-owner-group -Zgzip --build "$root" "$deb" >/dev/null
  echo "$deb"
}

# The program loads its OpenGL driver at run time, so no library it links names one: on a
# machine without a desktop (a fresh minimal Debian) it would start and draw nothing. Mesa's
# drivers come with the packages unless the user turns recommendations off.
recommends=libgl1-mesa-dri

game=$stage/game
DESTDIR=$game cmake --install "$build" --prefix /usr --component game --strip >/dev/null
game_depends=$(depends_of "-e$game/usr/bin/$package")
pack "$game" "$package" "$game_depends" "$recommends" \
  "mahjong solitaire with a story of antique hunting" \
  " Clear boards of mahjong tiles pair by pair, or gather sets and runs of three
 or four tiles in the sets box. Each level hides the two tiles of a treasure:
 match them to win it. Between the levels you travel the city map, have your
 finds appraised and build up your collection."

# The launcher control unpacks and runs its own copy of the game, so the page host's package
# needs the game's libraries as well as WebKit's and the control's. It is a package of its
# own: WebKitGTK and its dependencies are many times the size of the game.
host=$stage/pagehost
DESTDIR=$host cmake --install "$build" --prefix /usr --component pagehost --strip >/dev/null
host_depends=$(depends_of "-e$host/usr/lib/$package/activex_host" \
  "-e$host/usr/lib/$package/libactivex.so" "-e$game/usr/bin/$package")
pack "$host" "$package-pagehost" "$host_depends" "$recommends" \
  "mahjong solitaire with a story of antique hunting - in a web page" \
  " The game running inside a web page, as a portal shows it: a page host (a
 WebKitGTK window) that loads the game's launcher control for the page's
 object, and a sample page whose buttons send the page's commands to the game
 and list the game's reports. Start it with $package-page."
