#!/bin/sh
# A short tour of tarvik2-cli on the example data sets (used by `make run`).
# Usage: examples/demo.sh path/to/tarvik2-cli
set -eu
cli=${1:?usage: examples/demo.sh path/to/tarvik2-cli}
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

step() { printf '\n=== %s\n' "$*"; }

step "Reference populations: $here/reference.gen"
"$cli" info "$here/reference.gen"
step "Samples to treat: $here/samples.gen"
"$cli" info "$here/samples.gen"

step "Statistics of the reference populations"
"$cli" stats "$here/reference.gen"
step "Statistics of the samples (in English)"
"$cli" stats "$here/samples.gen" --lang en

step "The reference populations as genotype XML"
xml=$("$cli" convert "$here/reference.gen" "$out/reference" --to 9)
echo "written: $xml"
sed -n '/<QUAV>/,+8p' "$xml"
echo "..."
step "The XML file read back"
"$cli" info "$xml" --lang en
