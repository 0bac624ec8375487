#!/usr/bin/env bash
# Builds Morrowick.CHM from the UTF-8 sources in this folder: every text file is
# converted to GBK (the pages then declare gb2312, which Chinese Windows viewers read
# as GBK), and Free Pascal's chmcmd compiles the project in a staging folder.
#   build_chm.sh <staging folder> <output .CHM>
set -euo pipefail
src=$(cd "$(dirname "$0")" && pwd)
stage=$1
out=$2

rm -rf "$stage"
mkdir -p "$stage"
for f in "$src"/*.html "$src"/*.hhc "$src"/*.hhk "$src"/*.hhp "$src"/*.css; do
  name=$(basename "$f")
  # iconv fails on any character GBK cannot hold, so nothing is silently lost.
  sed 's/charset=utf-8/charset=gb2312/I' "$f" | iconv -f UTF-8 -t GBK > "$stage/$name"
done

cd "$stage"
chmcmd --verbosity 1 Morrowick.hhp > chmcmd.log 2>&1 || { cat chmcmd.log >&2; exit 1; }
if grep -qi "error" chmcmd.log || [ ! -s Morrowick.CHM ]; then
  cat chmcmd.log >&2
  echo "build_chm.sh: chmcmd did not produce Morrowick.CHM" >&2
  exit 1
fi
mv Morrowick.CHM "$out"
