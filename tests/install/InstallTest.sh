#!/usr/bin/env bash
# InstallTest.sh BUILD: installs the build into a scratch prefix, checks the layout, and starts
# the installed game from another folder: with its folder read-only the settings and log land
# in the XDG folders, with it writable beside the executable; the data folder is never written.
source "$(dirname "$0")/InstallSupport.sh"
build=$1
prefix=$Work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || Fail "cmake --install"

for file in games/duelmark bin/duelmark-script share/games/duelmark/images share/games/duelmark/sound \
  share/games/duelmark/data share/games/duelmark/maps/Default.map share/applications/duelmark.desktop \
  share/icons/hicolor/64x64/apps/duelmark.png share/icons/hicolor/256x256/apps/duelmark.png \
  share/metainfo/duelmark.metainfo.xml share/man/man6/duelmark.6.gz; do
  [ -e "$prefix/$file" ] || Fail "$file is not installed"
done
[ -z "$(find "$prefix/share/games/duelmark" -maxdepth 1 -type f)" ] ||
  Fail "loose files (a log or settings of the build) were installed with the data"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/duelmark.metainfo.xml" >/dev/null ||
    Fail "the AppStream metadata does not validate"
fi
"$prefix/games/duelmark" --version | grep -q "^Duelmark" || Fail "--version"

cwd=$Work/elsewhere
UserFolder "$cwd"
stamp=$Work/stamp
touch "$stamp"
sleep 1

# An installed game: its folder is read-only for its user.
ReadOnly "$prefix/games"
home=$Work/home
UserFolder "$home"
RunGame "$prefix/games/duelmark" "$cwd" HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_STATE_HOME="$home/state"
log=$home/state/duelmark/duelmark.log
LogHas "$log" "MSG : Running in $prefix/share/games/duelmark/ IN : Main"
LogHas "$log" "MSG : Settings and start-up file in $home/config/duelmark/ IN : Main"
LogHas "$log" "MSG : Log in $home/state/duelmark/ IN : Main"
LogHas "$log" "MSG : Quit Event IN : TitleProcess"
LogHas "$log" "MSG : Terminating Application IN : Finalization"
[ -f "$home/config/duelmark/Duelmark.def" ] || Fail "no settings in \$XDG_CONFIG_HOME/duelmark"
# The start-up file is read from there too: Debug=0 means no log at all.
rm "$log"
echo "Debug=0" >"$home/config/duelmark/duelmark.cfg"
RunGame "$prefix/games/duelmark" "$cwd" HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_STATE_HOME="$home/state"
[ ! -e "$log" ] || Fail "the start-up file in \$XDG_CONFIG_HOME/duelmark was not read"
rm "$home/config/duelmark/duelmark.cfg"
# Without XDG variables the defaults under the home folder are used.
RunGame "$prefix/games/duelmark" "$cwd" HOME="$home"
LogHas "$home/.local/state/duelmark/duelmark.log" "MSG : Log in $home/.local/state/duelmark/ IN : Main"
[ -f "$home/.config/duelmark/Duelmark.def" ] || Fail "no settings in ~/.config/duelmark"

# A game folder the user owns keeps everything beside the executable, as a checkout's does.
chmod u+w "$prefix/games"
if [ "$(id -u)" -eq 0 ]; then chown 65534:65534 "$prefix/games"; fi
other=$Work/other
UserFolder "$other"
RunGame "$prefix/games/duelmark" "$cwd" HOME="$other" XDG_CONFIG_HOME="$other/config" XDG_STATE_HOME="$other/state"
LogHas "$prefix/games/duelmark.log" "MSG : Settings and start-up file in $prefix/games/ IN : Main"
[ -f "$prefix/games/Duelmark.def" ] || Fail "no settings beside a writable executable"
[ -z "$(ls -A "$other")" ] || Fail "the XDG folders were made although the game's folder is writable"

NothingWrittenIn "$prefix/share" "$stamp"
[ -z "$(ls -A "$cwd")" ] || Fail "written into the folder the game was started from"
echo "The installed game found its data and kept its settings and log where they belong."
