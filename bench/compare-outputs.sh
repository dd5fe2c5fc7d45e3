#!/bin/sh
# Compares what two builds of the command line write, file by file: every conversion and the
# statistics of the bundled examples and of the test corpus, and assignment and migrant runs of
# the examples (criteria, samples, groups, seeded simulations). The journal's dates, times and
# durations are blanked first. Usage: bench/compare-outputs.sh OLD_CLI NEW_CLI
# (for instance an earlier commit built in another folder, and build/tarvik2-cli).
[ $# -eq 2 ] || { echo "usage: $0 OLD_CLI NEW_CLI" >&2; exit 2; }
OLD=$(realpath "$1"); NEW=$(realpath "$2")
W=$(mktemp -d); trap 'rm -rf "$W"' EXIT; mkdir -p $W/o $W/n
# The language and settings the runs find in the home folder are the same for both.
export HOME=$W
cd "$(dirname "$0")/.."
FILES="examples/reference.gen examples/samples.gen $(ls tests/corpus/fuzz_load_*/* tests/corpus/regressions/* | sort -u)"
same=0; diff=0
# The journal's date, time and durations are the moment's: they are blanked before comparing.
norm() { LC_ALL=C sed -E 's#[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}#DATE#; s#[0-9]+[.][0-9]+ s$#T s#' "$1"; }
check() { if norm "$1" | cmp -s - "$(norm "$2" > "$2.norm"; echo "$2.norm")"; then same=$((same+1)); else diff=$((diff+1)); echo "DIFFERS: $3"; fi; }
i=0
for f in $FILES; do
  i=$((i+1))
  for to in 0 1 2 3 4 5 6 7 8 9; do
    $OLD convert --to $to "$f" $W/o/c$i-$to.out >/dev/null 2>&1; a=$?
    $NEW convert --to $to "$f" $W/n/c$i-$to.out >/dev/null 2>&1; b=$?
    [ $a = $b ] || echo "EXIT DIFFERS: convert --to $to $f ($a vs $b)"
    [ -f $W/o/c$i-$to.out ] && check $W/o/c$i-$to.out $W/n/c$i-$to.out "convert --to $to $f"
  done
  $OLD stats "$f" -o $W/o/s$i.csv >/dev/null 2>&1; $NEW stats "$f" -o $W/n/s$i.csv >/dev/null 2>&1
  [ -f $W/o/s$i.csv ] && check $W/o/s$i.csv $W/n/s$i.csv "stats $f"
done
R=examples/reference.gen; S=examples/samples.gen
for c in 0 1 2 3 4 5 6 7 8 10; do
  for extra in "" "--samples $S" "--samples $S --groups" "--simulate 2 --simulated 100 --seed 1,2,3,4" "--samples $S --simulate 0 --simulated 100 --seed 1,2,3,4"; do
    n=$(echo "$c $extra" | tr -c 'a-z0-9' '_')
    $OLD assign $R --criterion $c $extra -o $W/o/a$n.csv --lang en >/dev/null 2>&1; a=$?
    $NEW assign $R --criterion $c $extra -o $W/n/a$n.csv --lang en >/dev/null 2>&1; b=$?
    [ $a = $b ] || echo "EXIT DIFFERS: assign $c $extra"
    [ -f $W/o/a$n.csv ] && check $W/o/a$n.csv $W/n/a$n.csv "assign --criterion $c $extra"
  done
done
for c in 0 1 2 3 6; do for opt in 0 1 2; do for sim in "" "--simulate 2 --simulated 100 --seed 1,2,3,4" "--simulate 1 --simulated 100 --seed 1,2,3,4"; do
  n=$(echo "$c $opt $sim" | tr -c 'a-z0-9' '_')
  $OLD migrants $R --criterion $c --statistic $opt $sim -o $W/o/m$n.csv >/dev/null 2>&1
  $NEW migrants $R --criterion $c --statistic $opt $sim -o $W/n/m$n.csv >/dev/null 2>&1
  [ -f $W/o/m$n.csv ] && check $W/o/m$n.csv $W/n/m$n.csv "migrants $c $opt $sim"
done; done; done
# The stepwise-mutation criterion, seeded, over two loci (its estimates are slow).
for extra in "" "--samples $S" "--samples $S --groups"; do
  n=$(echo "9 $extra" | tr -c 'a-z0-9' '_')
  $OLD assign $R --criterion 9 --loci MS01,MS02 --seed 1,2,3,4 --threads 1 $extra -o $W/o/a$n.csv --lang en >/dev/null 2>&1
  $NEW assign $R --criterion 9 --loci MS01,MS02 --seed 1,2,3,4 --threads 1 $extra -o $W/n/a$n.csv --lang en >/dev/null 2>&1
  [ -f $W/o/a$n.csv ] && check $W/o/a$n.csv $W/n/a$n.csv "assign --criterion 9 $extra"
done
$OLD migrants $R --criterion 9 --loci MS01,MS02 --seed 1,2,3,4 -o $W/o/m9.csv >/dev/null 2>&1
$NEW migrants $R --criterion 9 --loci MS01,MS02 --seed 1,2,3,4 -o $W/n/m9.csv >/dev/null 2>&1
[ -f $W/o/m9.csv ] && check $W/o/m9.csv $W/n/m9.csv "migrants --criterion 9"
echo "same: $same, different: $diff"
[ $diff -eq 0 ]
