#!/usr/bin/env bash
# Copy benchmark: the engine (whole run, log included) against a bare CopyFileA loop, a cmd.exe
# batch file under Wine and, natively for context, GNU cp -n, over the same seeded collections.
#
#   bash bench/run.sh                      N = 1000 10000 50000, repeats 5 2 1
#   SIZES="1000" REPEATS="3" bash bench/run.sh
#
# The collections (about 6.2 GB for the three) live in $VX_BENCH_DATA (default /work/vx-bench-data),
# seen under Wine as drive V:. Outputs go to $VX_BENCH_OUT (default /dev/shm/vx-bench-out, a
# tmpfs), drive W:: on the disk, writeback of earlier runs made single runs vary by a factor of 4.
# Runs are warm: a collection is read once before its first run and stays in the page cache.
# Every run gets a fresh output folder, removed after it. Contenders alternate, the first one
# rotating from one repeat to the next. The batch file is skipped above N = $BATCH_MAX_N (default
# 10000): under Wine it takes hours there. After the timed runs, the engine runs once more into
# the last engine output, where every copy fails (the memory figure with a full failure log).
# From N = $PAIRED_FROM (default 50000) on, one run there takes over half an hour under Wine, so
# the engine and the floor run side by side, each in its own Wine prefix on its own CPU, instead of
# one after the other; the cp run follows alone.
# Raw lines go to bench/out/raw-<sizes>.tsv, the summary beside it (.md); to summarise several
# such files together: python3 bench/summarize.py bench/out/raw-*.tsv
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=$repo/build-bench-win
data=${VX_BENCH_DATA:-/work/vx-bench-data}
sizes=(${SIZES:-1000 10000 50000})
repeats=(${REPEATS:-5 2 1})
batch_max_n=${BATCH_MAX_N:-10000}
outputs=${VX_BENCH_OUT:-/dev/shm/vx-bench-out}
paired_from=${PAIRED_FROM:-50000}
contenders=(${CONTENDERS:-engine floor batch cp})
outdir=$repo/bench/out

[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
ninja -C "$build" vx_bench >/dev/null
bench_exe=$build/bench/vx_bench.exe
wine_run=$build/wine-run

mkdir -p "$data" "$outputs" "$outdir"
"$wine_run" "$bench_exe" memory >/dev/null  # makes the prefix on first use
ln -sfn "$data" "$build/wineprefix/dosdevices/v:"
ln -sfn "$outputs" "$build/wineprefix/dosdevices/w:"
# Keep one wineserver alive across the many short runs.
WINEPREFIX=$build/wineprefix wineserver -p 60 2>/dev/null || true  # fails when one already runs

# A second prefix, set up like the build tree's, for the runs made side by side.
wine_run2() {
  WINEPREFIX=$build/wineprefix-2 WINEARCH=win32 WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 \
    LANG=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=" wine "$@"
}
prepare_prefix2() {
  if [ ! -d "$build/wineprefix-2/dosdevices" ]; then
    WINEPREFIX=$build/wineprefix-2 WINEARCH=win32 DISPLAY= wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX=$build/wineprefix-2 wineserver -w
  fi
  ln -sfn "$data" "$build/wineprefix-2/dosdevices/v:"
  ln -sfn "$outputs" "$build/wineprefix-2/dosdevices/w:"
}

sizes_text=${sizes[*]}
raw=$outdir/raw-${sizes_text// /-}.tsv
{
  echo "# $(date -u '+%F %T') UTC, $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2-)"
  echo "# $(wine --version), sizes ${sizes[*]}, repeats ${repeats[*]}"
  printf 'n\trepeat\tcontender\tseconds\tcopied\tfailed\tpeak_ws\tcpu\n'
} >"$raw"

field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"; }

fresh_out() { rm -rf "${outputs:?}/$1"; }

# One run of one contender on set n<N>; prints "seconds copied failed peak_ws cpu". A third argument
# picks the Wine runner (default: the build tree's prefix).
run_one() {
  local contender=$1 n=$2 runner=${3:-$wine_run} set=V:\\n$2 out=W:\\$1 line
  fresh_out "$contender"
  case $contender in
    engine | floor)
      line=$($runner "$bench_exe" "$contender" "$set\\media" "$set\\roms" "$out")
      echo "$(field seconds "$line") $(field copied "$line") $(field failed "$line")" \
        "$(field peak_ws "$line") $(field cpu "$line")"
      ;;
    batch)
      line=$("$wine_run" "$bench_exe" batch "$set\\copy.bat" "$set" "$out")
      echo "$(field seconds "$line") $(count_copied "$contender") - - -"
      ;;
    cp)
      local dest=$outputs/cp/QUELBRINOUTPUT times
      times=$({
        TIMEFORMAT='%R %U %S'
        time (
          cd "$data/n$n"
          while read -r _ index type; do
            mkdir -p "$dest/$type"
            xargs -0 -a "sources-$index.lst" cp -n -t "$dest/$type" 2>/dev/null || true
          done < <(grep '^type ' collection.txt)
        )
      } 2>&1)
      read -r real user sys <<<"$times"
      echo "$real $(count_copied cp) - - $(awk "BEGIN { print $user + $sys }")"
      ;;
  esac
}

count_copied() { find "$outputs/$1" -type f | wc -l; }

for i in "${!sizes[@]}"; do
  n=${sizes[$i]}
  reps=${repeats[$i]:-${repeats[-1]}}
  python3 bench/make_collection.py "$data/n$n" --roms "$n"
  want=$(sed -n 's/^companions //p' "$data/n$n/collection.txt")
  echo "n=$n: warming the page cache"
  find "$data/n$n" -type f -print0 | xargs -0 cat >/dev/null
  for ((r = 1; r <= reps; r++)); do
    paired=()
    if [ "$n" -ge "$paired_from" ]; then
      prepare_prefix2
      run_one engine "$n" >"$outdir/paired-engine" &
      run_one floor "$n" wine_run2 >"$outdir/paired-floor" &
      wait
      paired=(engine floor)
    fi
    for ((c = 0; c < ${#contenders[@]}; c++)); do
      contender=${contenders[$(((c + r - 1) % ${#contenders[@]}))]}
      [ "$contender" = batch ] && [ "$n" -gt "$batch_max_n" ] && continue
      if [[ " ${paired[*]} " == *" $contender "* ]]; then
        read -r seconds copied failed peak cpu <"$outdir/paired-$contender"
      else
        read -r seconds copied failed peak cpu < <(run_one "$contender" "$n")
      fi
      printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$n" "$r" "$contender" "$seconds" "$copied" \
        "$failed" "$peak" "$cpu" | tee -a "$raw"
      if [ "$copied" != "$want" ]; then
        echo "n=$n $contender copied $copied files, the collection holds $want" >&2
        exit 1
      fi
      # The engine's output stays until its next run, for the all-fail run below.
      [ "$contender" = engine ] || fresh_out "$contender"
    done
  done
  # Memory: the engine once more into the output of its last timed run, where every copy fails.
  if [ -d "$outputs/engine" ]; then
    line=$("$wine_run" "$bench_exe" engine "V:\\n$n\\media" "V:\\n$n\\roms" 'W:\engine')
    printf '%s\tmemory\tengine-all-fail\t%s\t%s\t%s\t%s\n' "$n" "$(field seconds "$line")" \
      "$(field copied "$line")" "$(field failed "$line")" "$(field peak_ws "$line")" | tee -a "$raw"
  fi
  line=$("$wine_run" "$bench_exe" list "V:\\n$n\\roms")
  printf '%s\tmemory\tlist-roms\t%s\t%s\t-\t%s\n' "$n" "$(field seconds "$line")" \
    "$(field entries "$line")" "$(field peak_ws "$line")" | tee -a "$raw"
  # Both listings at once, as the engine holds them while it learns a type's extension.
  line=$("$wine_run" "$bench_exe" list2 "V:\\n$n\\roms" "V:\\n$n\\media\\snap")
  printf '%s\tmemory\tlist-roms-and-type\t-\t%s\t-\t%s\n' "$n" "$(field entries "$line")" \
    "$(field peak_ws "$line")" | tee -a "$raw"
  line=$("$wine_run" "$bench_exe" memory)
  printf '%s\tmemory\tidle\t-\t-\t-\t%s\n' "$n" "$(field peak_ws "$line")" | tee -a "$raw"
  fresh_out engine
done

python3 bench/summarize.py "$raw" | tee "${raw%.tsv}.md"
