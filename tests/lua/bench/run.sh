#!/bin/sh
# Runs the classic programs under lua50 and, when installed, Debian's lua5.1 and lua5.4;
# checks that the outputs agree and prints CPU times (user+system, seconds), peak
# resident memory (KB) and the ratios of our times to theirs.
# Usage: tests/lua/bench/run.sh [path/to/lua50]
here=$(cd "$(dirname "$0")" && pwd)
lua50=${1:-$here/../../../build/bin/lua50}
[ -x "$lua50" ] || { echo "lua50 not found at $lua50 (build it first: make build)"; exit 1; }
others=""
for l in lua5.1 lua5.4; do command -v $l >/dev/null 2>&1 && others="$others $l"; done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf "%-12s %10s %10s %10s %9s %9s %10s %10s\n" program lua50 lua5.1 lua5.4 "/5.1" "/5.4" "KB50" "KB5.1"
status=0
for prog in "$here"/*.lua; do
  name=$(basename "$prog" .lua)
  /usr/bin/time -f "%U %S %M" -o "$tmp/t50" "$lua50" "$prog" > "$tmp/o50" 2>&1
  set -- $(cat "$tmp/t50"); t50=$(awk -v u=$1 -v s=$2 "BEGIN{print u+s}"); m50=$3
  t51=-; t54=-; m51=-
  for l in $others; do
    /usr/bin/time -f "%U %S %M" -o "$tmp/t" $l "$prog" > "$tmp/o" 2>&1
    set -- $(cat "$tmp/t")
    if ! cmp -s "$tmp/o" "$tmp/o50"; then
      echo "OUTPUT DIFFERS for $name under $l:"; diff "$tmp/o50" "$tmp/o" | head -5; status=1
    fi
    t=$(awk -v u=$1 -v s=$2 "BEGIN{print u+s}")
    [ $l = lua5.1 ] && { t51=$t; m51=$3; }
    [ $l = lua5.4 ] && t54=$t
  done
  r51=$(awk -v a=$t50 -v b=$t51 'BEGIN{ if (b+0>0) printf "%.2f", a/b; else print "-" }')
  r54=$(awk -v a=$t50 -v b=$t54 'BEGIN{ if (b+0>0) printf "%.2f", a/b; else print "-" }')
  printf "%-12s %10s %10s %10s %9s %9s %10s %10s\n" $name $t50 $t51 $t54 $r51 $r54 $m50 $m51
  echo "$t50 $t51 $t54" >> "$tmp/all"
done
awk '{ if ($1>0) { a+=log($1); n++ } if ($2>0) { b+=log($2); m++ } if ($3>0) { c+=log($3); k++ } }
     END { printf "geometric mean: lua50 %.3fs", exp(a/n);
           if (m) printf "  lua5.1 %.3fs (ratio %.2f)", exp(b/m), exp(a/n)/exp(b/m);
           if (k) printf "  lua5.4 %.3fs (ratio %.2f)", exp(c/k), exp(a/n)/exp(c/k);
           printf "\n" }' "$tmp/all"
exit $status
