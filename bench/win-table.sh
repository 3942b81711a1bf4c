#!/bin/sh
# The computer opponent's win table, played with duelmark-duel (a benchmark, not a test: the
# full table is some thousand matches).
#
#   bench/win-table.sh [-n MATCHES] [-l LEVEL] [-t TOOL] [-d GAMEDIR] simple|pairs
#
# simple: every character's shipped AI against the same character run by the test suite's
#         simple scripts (tests/world/duel/Walker.ai, which walks straight at its foe and
#         strikes, and Shooter.ai, which only shoots from where it stands), on every map.
# pairs:  every character against every other, both with their shipped AI, on every map.
# Prints one line per cell (wins of the first fighter, the second, unfinished) and the total.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
matches=20
level=normal
tool=$here/build/tools/duelmark-duel
game=$here/build/game
while getopts n:l:t:d: option; do
  case $option in
    n) matches=$OPTARG ;;
    l) level=$OPTARG ;;
    t) tool=$OPTARG ;;
    d) game=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
kind=${1:-simple}
maps=${MAPS:-"Default Forest Lake Ruins"}
characters=${CHARACTERS:-"Barbar Elf Knight Ninja Orc"}
total=0; won=0; lost=0; open=0

cell() {
  line=$("$tool" --data "$game" --map "$1" --matches "$matches" --level "$level" "$2" "$3" | tail -n 1)
  p1=$(echo "$line" | awk '{print $3}'); p2=$(echo "$line" | awk '{print $5}'); un=$(echo "$line" | awk '{print $7}')
  printf '%-8s %-8s %-18s %3s %3s %3s\n' "$1" "$2" "$(echo "$3" | sed 's|:.*/|:|')" "$p1" "$p2" "$un"
  total=$((total + matches)); won=$((won + p1)); lost=$((lost + p2)); open=$((open + un))
}

for map in $maps; do
  for a in $characters; do
    if [ "$kind" = simple ]; then
      for foe in Walker Shooter; do
        cell "$map" "$a" "$a:$here/tests/world/duel/$foe.ai"
      done
    else
      for b in $characters; do
        [ "$a" \< "$b" ] && cell "$map" "$a" "$b"
      done
    fi
  done
done
echo "level $level, $kind: first $won second $lost unfinished $open of $total"
