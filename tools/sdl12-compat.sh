#!/usr/bin/env bash
# sdl12-compat.sh FOLDER: prints the folder holding sdl12-compat's libSDL-1.2.so.0 (SDL 1.2 on
# top of SDL 2, Debian 13's SDL 1.2) for use through LD_LIBRARY_PATH. The library is unpacked
# from Debian's libsdl1.2-compat package into FOLDER, so the installed classic library stays
# as it is. Ends with status 1 and says why when the package cannot be had.
set -euo pipefail
folder=$1
Found() { find "$folder/usr" -name libSDL-1.2.so.0 2>/dev/null | head -1; }
if [ -z "$(Found)" ]; then
  mkdir -p "$folder"
  (cd "$folder" && apt-get download libsdl1.2-compat >/dev/null 2>&1) ||
    { echo "apt-get download libsdl1.2-compat failed" >&2; exit 1; }
  dpkg -x "$folder"/libsdl1.2-compat_*.deb "$folder" || { echo "could not unpack libsdl1.2-compat" >&2; exit 1; }
fi
lib=$(Found)
[ -n "$lib" ] || { echo "libsdl1.2-compat holds no libSDL-1.2.so.0" >&2; exit 1; }
dirname "$lib"
