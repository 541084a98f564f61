#!/bin/bash
# Fails when a symbol that one object file defines strongly is also defined
# by another object of the given static libraries. Two such definitions are
# one symbol to the linker, which keeps either of them: a function of one
# library may then run in place of another's of the same name.
set -euo pipefail
if [ $# -eq 0 ]; then
  echo "usage: $0 LIBRARY.a..." >&2
  exit 2
fi
clashes=$(
  for library in "$@"; do
    nm -A -g --defined-only "$library"
  done | awk '
    # "LIBRARY:OBJECT:ADDRESS TYPE NAME"; weak (W, V) and unique (u)
    # definitions are the inline ones that every user of a header holds.
    {
      name = $NF; type = $(NF - 1); where = $1
      sub(/:[0-9a-f]*$/, "", where)
      count[name]++
      places[name] = places[name] "\n  " where " (" type ")"
      if (type ~ /^[TDBRC]$/) strong[name] = 1
    }
    END { for (name in strong) if (count[name] > 1) print name places[name] }'
)
if [ -n "$clashes" ]; then
  echo "symbols defined more than once across the libraries:" >&2
  echo "$clashes" | c++filt >&2
  exit 1
fi
echo "no symbol is defined twice across $# libraries"
