#!/usr/bin/env bash
# DebPackageTest.sh BUILD: makes the Debian package of the build with cpack, checks its control
# fields and file list, unpacks it into a scratch root and starts the game from there headless.
# The suite packages its own (sanitizer) build; its dependencies then name the sanitizer
# runtimes as well, and the SDL ones are checked here.
source "$(dirname "$0")/InstallSupport.sh"
build=$1
(cd "$Work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$Work/package" >/dev/null) || Fail "cpack -G DEB"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$Work/package/duelmark_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || Fail "no $(basename "$deb"): $(ls "$Work/package")"

[ "$(dpkg-deb -f "$deb" Package)" = duelmark ] || Fail "Package field"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || Fail "Version field"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || Fail "Section field"
depends=$(dpkg-deb -f "$deb" Depends)
# The package names alone, one a line, without versions or alternatives' bars.
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for package in libsdl1.2debian libsdl-image1.2 libsdl-ttf2.0-0 libsdl-mixer1.2 libsdl-net1.2 libc6 libstdc++6 \
  fonts-dejavu-core; do
  grep -qxF -- "$package" <<<"$names" || Fail "Depends lacks $package: $depends"
done

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/games/duelmark ./usr/bin/duelmark-script ./usr/share/games/duelmark/maps/Default.map \
  ./usr/share/applications/duelmark.desktop ./usr/share/icons/hicolor/256x256/apps/duelmark.png \
  ./usr/share/metainfo/duelmark.metainfo.xml ./usr/share/man/man6/duelmark.6.gz; do
  grep -qxF -- "$file" <<<"$files" || Fail "the package lacks $file"
done
grep -q "^./usr/local/\|^./home/\|^./tmp/" <<<"$files" && Fail "the package installs outside /usr"

root=$Work/root
dpkg -x "$deb" "$root" || Fail "dpkg -x"
ReadOnly "$root/usr/games"
home=$Work/home
UserFolder "$home"
cwd=$Work/elsewhere
UserFolder "$cwd"
RunGame "$root/usr/games/duelmark" "$cwd" HOME="$home"
LogHas "$home/.local/state/duelmark/duelmark.log" "MSG : Running in $root/usr/share/games/duelmark/ IN : Main"
LogHas "$home/.local/state/duelmark/duelmark.log" "MSG : Quit Event IN : TitleProcess"
[ -f "$home/.config/duelmark/Duelmark.def" ] || Fail "no settings in ~/.config/duelmark"
echo "$(basename "$deb") holds the game, depends on the SDL 1.2 runtime and runs unpacked."
