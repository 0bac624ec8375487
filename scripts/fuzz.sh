#!/usr/bin/env bash
# Builds the fuzz targets fuzz/*_fuzz.cpp with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each over its committed corpus fuzz/corpus/<name>/.
#
#   scripts/fuzz.sh short            about 20 seconds in all (the run ./test makes)
#   scripts/fuzz.sh long [seconds]   each target for the given time (default 600)
#
# Prints executions, seconds and crashes per target; exits non-zero on any crash or
# build failure. Findings go to build/fuzz/artifacts/<name>/, new inputs to
# build/fuzz/corpus/<name>/ (the committed corpus is only read).
#
# The program's literals must be GBK, and clang only knows UTF-8 as execution character
# set. So the sources are converted to GBK with iconv (the converter gcc's
# -fexec-charset uses) into build/fuzz/src and compiled from there as they stand;
# -Wno-invalid-source-encoding keeps clang quiet about the non-UTF-8 literals.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-short}
case "$mode" in
  short) total_seconds=${2:-20} ;;
  long) per_target_seconds=${2:-600} ;;
  *)
    echo "usage: scripts/fuzz.sh short | long [seconds]" >&2
    exit 2
    ;;
esac

out=$root/build/fuzz
gbk=$out/src
cxx=${FUZZ_CXX:-clang++}
command -v "$cxx" >/dev/null || { echo "fuzz.sh: $cxx not found" >&2; exit 1; }

# --- Sources, converted to GBK ---------------------------------------------------
cd "$root"
logic_sources=$(find src/store src/scheduler src/system src/ui -maxdepth 1 -name '*.cpp' ! -name '*_win32.cpp' 2>/dev/null | sort)
headers=$(find src -name '*.h' | sort)
targets=$(find fuzz -maxdepth 1 -name '*_fuzz.cpp' | sort)
[ -n "$targets" ] || { echo "fuzz.sh: no fuzz targets" >&2; exit 1; }

rm -rf "$gbk.new"
mkdir -p "$gbk.new"
for rel in $logic_sources $headers $targets; do
  mkdir -p "$gbk.new/$(dirname "$rel")"
  if ! iconv -f UTF-8 -t GBK "$rel" >"$gbk.new/$rel"; then
    echo "fuzz.sh: $rel holds text that has no GBK form" >&2
    exit 1
  fi
done
# A GBK character whose second byte is a backslash would start an escape inside a
# literal or join a comment to the next line; such text cannot be compiled this way.
python3 - "$gbk.new" <<'EOF'
import os, sys
bad = []
for dirpath, _, files in os.walk(sys.argv[1]):
    for name in files:
        path = os.path.join(dirpath, name)
        data = open(path, 'rb').read()
        i = 0
        while i < len(data):
            if data[i] >= 0x81 and i + 1 < len(data):
                if data[i + 1] == 0x5C:
                    bad.append(path)
                    break
                i += 2
            else:
                i += 1
for path in bad:
    print("fuzz.sh: %s holds a GBK character ending in a backslash" % path, file=sys.stderr)
sys.exit(1 if bad else 0)
EOF
rm -rf "$gbk"
mv "$gbk.new" "$gbk"

# --- Build (again only when the sources or flags changed) ------------------------
flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined
       -fno-sanitize-recover=all -Wall -Wextra -Wno-invalid-source-encoding -I"$gbk/src")
stamp=$( (cd "$gbk" && find . -type f | sort | xargs cat; echo "$cxx ${flags[*]}"; "$cxx" --version) | sha256sum | cut -d' ' -f1)
bin=$out/bin
if [ "$(cat "$bin/stamp" 2>/dev/null)" != "$stamp" ]; then
  echo "fuzz.sh: building with $("$cxx" --version | head -1)"
  rm -rf "$bin"
  mkdir -p "$bin/obj"
  objects=()
  for rel in $logic_sources; do
    obj=$bin/obj/$(echo "$rel" | tr / _).o
    "$cxx" "${flags[@]}" -fsanitize=fuzzer-no-link -c "$gbk/$rel" -o "$obj"
    objects+=("$obj")
  done
  for rel in $targets; do
    name=$(basename "$rel" .cpp)
    "$cxx" "${flags[@]}" -fsanitize=fuzzer "$gbk/$rel" "${objects[@]}" -o "$bin/$name"
  done
  echo "$stamp" >"$bin/stamp"
fi

# --- Run ---------------------------------------------------------------------------
count=$(echo "$targets" | wc -w)
if [ "$mode" = short ]; then
  per_target_seconds=$(( total_seconds / count ))
  [ "$per_target_seconds" -ge 5 ] || per_target_seconds=5
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0
for rel in $targets; do
  name=$(basename "$rel" .cpp)
  corpus_name=${name%_fuzz}
  seeds=$root/fuzz/corpus/$corpus_name
  work=$out/corpus/$corpus_name
  artifacts=$out/artifacts/$corpus_name
  log=$out/$name.log
  mkdir -p "$work" "$artifacts"
  rm -f "$artifacts"/*
  dirs=("$work")
  [ -d "$seeds" ] && dirs+=("$seeds")

  start=$(date +%s.%N)
  set +e
  "$bin/$name" -max_total_time="$per_target_seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "${dirs[@]}" >"$log" 2>&1
  rc=$?
  set -e
  seconds=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
  executions=$(grep -a 'stat::number_of_executed_units' "$log" | awk '{print $2}' | tail -1)
  crashes=$(find "$artifacts" -type f | wc -l)
  [ "$rc" -eq 0 ] || [ "$crashes" -gt 0 ] || crashes=1
  printf '%s: %s executions in %.1f s, %d crashes\n' "$name" "${executions:-?}" "$seconds" "$crashes"
  if [ "$crashes" -gt 0 ]; then
    failed=1
    tail -n 40 "$log" >&2
    find "$artifacts" -type f -printf 'fuzz.sh: finding %p\n' >&2
  fi
done
exit "$failed"
