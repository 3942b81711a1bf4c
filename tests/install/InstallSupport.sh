# Shared by the install and package checks: a scratch folder, failing with words, and starting
# a game headless for a few frames, as an unprivileged user when the check runs as root (root
# may write to every folder, so a read-only game folder could not be tried otherwise).
set -euo pipefail

Work=$(mktemp -d /tmp/duelmark_install.XXXXXX)
chmod 755 "$Work"
trap 'chmod -R u+w "$Work"; rm -rf "$Work"' EXIT

Fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Nobody's user and group numbers; only used when running as root.
Unprivileged=(setpriv --reuid=65534 --regid=65534 --clear-groups)

# A folder the game's user can create files in.
UserFolder() {
  mkdir -p "$1"
  if [ "$(id -u)" -eq 0 ]; then chown 65534:65534 "$1"; fi
}

# ReadOnly FOLDER: the folder cannot be written by the game's user.
ReadOnly() {
  chmod a-w "$1"
}

# RunGame EXE CWD [VAR=VALUE...]: starts the game from CWD for a few frames with the dummy
# drivers and only the given environment (plus PATH); fails unless it ends with status 0.
RunGame() {
  local exe=$1 cwd=$2
  shift 2
  local runner=()
  if [ "$(id -u)" -eq 0 ]; then runner=("${Unprivileged[@]}"); fi
  (cd "$cwd" && "${runner[@]}" env -i PATH="$PATH" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    ${LD_LIBRARY_PATH:+LD_LIBRARY_PATH="$LD_LIBRARY_PATH"} \
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" "$@" "$exe" --quit-after-frames 5) ||
    Fail "$exe ended with status $?"
}

# LogHas LOG TEXT: the log holds a line containing TEXT.
LogHas() {
  [ -f "$1" ] || Fail "no log at $1"
  grep -qF -- "$2" "$1" || Fail "$1 lacks \"$2\""
}

# NothingWrittenIn FOLDER STAMP: no file in FOLDER is newer than the STAMP file.
NothingWrittenIn() {
  local changed
  changed=$(find "$1" -newer "$2" -print | head -5)
  [ -z "$changed" ] || Fail "written into $1: $changed"
}
