#!/bin/sh
# Builds the game's Debian package from an install of the game component into a staging
# root, prefix /usr:  build_deb.sh BUILD_DIR [OUT_DIR]
# The package depends on the Debian packages of the shared libraries the program links, as
# dpkg-shlibdeps computes them from the installed program. Writes
# OUT_DIR/<package>_<version>_<architecture>.deb (OUT_DIR defaults to BUILD_DIR/package)
# and prints its path. Needs no root: dpkg-deb gives every file to root.
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
root=$stage/root
DESTDIR=$root cmake --install "$build" --prefix /usr --component game --strip >/dev/null

# dpkg-shlibdeps reads the libraries' shlibs and symbols files and wants a source package
# around the program: a control file naming the package is enough.
mkdir -p "$stage/debian"
printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$package" "$package" \
  >"$stage/debian/control"
executables=$(find "$root" -type f -perm -u+x | sort)
# shellcheck disable=SC2086 # one argument per program
depends=$(cd "$stage" && dpkg-shlibdeps -O -e $executables 2>"$stage/shlibdeps.log" |
  sed -n 's/^shlibs:Depends=//p') || true
if [ -z "$depends" ]; then
  echo "build_deb.sh: dpkg-shlibdeps found no dependencies:" >&2
  cat "$stage/shlibdeps.log" >&2
  exit 1
fi

# The program loads its OpenGL driver at run time, so no library it links names one: on a
# machine without a desktop (a fresh minimal Debian) it would start and draw nothing. Mesa's
# drivers come with the package unless the user turns recommendations off.
recommends=libgl1-mesa-dri

size=$(du -sk "$root/usr" | cut -f1)
mkdir -p "$root/DEBIAN"
cat >"$root/DEBIAN/control" <<CONTROL
Package: $package
Version: $version
Architecture: $arch
Maintainer: Tandervel <games@tandervel.example>
Installed-Size: $size
Depends: $depends
Recommends: $recommends
Section: games
Priority: optional
Homepage: $homepage
Description: mahjong solitaire with a story of antique hunting
 Clear boards of mahjong tiles pair by pair, or gather sets and runs of three
 or four tiles in the sets box. Each level hides the two tiles of a treasure:
 match them to win it. Between the levels you travel the city map, have your
 finds appraised and build up your collection.
CONTROL
(cd "$root" && find usr -type f | sort | xargs md5sum) >"$root/DEBIAN/md5sums"

mkdir -p "$out"
deb=$out/${package}_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zgzip --build "$root" "$deb" >/dev/null
echo "$deb"
