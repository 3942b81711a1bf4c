#!/bin/sh
# The computer opponent's win table, played with duelmark-duel (a benchmark, not a test: the
# full table is some thousand matches).
#
#   bench/win-table.sh [-n MATCHES] [-l LEVEL] [-t TOOL] [-d GAMEDIR] simple|pairs
#
# simple: every character's shipped AI against the same character run by the test suite's
#         simple scripts (tests/world/duel/Walker.ai, which walks straight at its foe and
#         strikes, and Shooter.ai, which only shoots from where it stands), on every map.
# pairs:  every character against every other, both with their shipped AI, on every map; each
#         takes player 1's start in half the matches, so a map's sides do not decide the pairing.
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

# Wins of P1 and P2 and unfinished matches of N matches from seed S: "p1 p2 unfinished".
play() {
  "$tool" --data "$game" --map "$1" --matches "$4" --seed "$5" --level "$level" "$2" "$3" | tail -n 1 |
    awk '{print $3, $5, $7}'
}

cell() {
  set -- "$1" "$2" "$3" "${4:-}"
  if [ "${4:-}" = swap ]; then
    half=$((matches / 2))
    set -- $(play "$1" "$2" "$3" "$half" 1) $(play "$1" "$3" "$2" $((matches - half)) 1001) "$1" "$2" "$3"
    p1=$(($1 + $5)); p2=$(($2 + $4)); un=$(($3 + $6)); shift 6
  else
    set -- $(play "$1" "$2" "$3" "$matches" 1) "$1" "$2" "$3"
    p1=$1; p2=$2; un=$3; shift 3
  fi
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
        [ "$a" \< "$b" ] && cell "$map" "$a" "$b" swap
      done
    fi
  done
done
echo "level $level, $kind: first $won second $lost unfinished $open of $total"
