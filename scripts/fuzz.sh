#!/usr/bin/env bash
# Fuzzes the program's parsers with libFuzzer (clang, AddressSanitizer +
# UndefinedBehaviorSanitizer), in the build tree build-fuzz/.
#   scripts/fuzz.sh TARGET [SECONDS]   fuzz one target (default 60 s)
#   scripts/fuzz.sh all [SECONDS]      every target in turn, SECONDS each
#   scripts/fuzz.sh merge TARGET       add to fuzz/corpus/TARGET the few inputs
#                                      the runs found that reach new code
#   scripts/fuzz.sh list               the targets
# The seeds in fuzz/corpus/TARGET are only read; new inputs go to
# build-fuzz/corpus/TARGET. A crash, sanitizer report, leak, an input slower
# than FUZZ_TIMEOUT seconds (default 2) or a process larger than FUZZ_RSS_MB
# (default 2048) stops the target, leaves the input in
# build-fuzz/findings/TARGET/ and makes the script end with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dir=build-fuzz
timeout=${FUZZ_TIMEOUT:-2}
rss=${FUZZ_RSS_MB:-2048}

targets() { for f in fuzz/*.cpp; do basename "$f" .cpp; done; }

build() {
  scripts/setup.sh fuzz
  local extra=()
  if command -v ccache >/dev/null 2>&1; then
    extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")} CCACHE_NOHASHDIR=1
  fi
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVORA_SANITIZE=ON -DKELVORA_FUZZ=ON "${extra[@]}" >/dev/null
  local names=()
  for t in "$@"; do names+=("fuzz_$t"); done
  cmake --build "$dir" --parallel "${JOBS:-$(nproc)}" --target "${names[@]}"
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/support/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Fuzzes one target; prints one summary line. Status 1 on a finding.
run() {
  local t=$1 seconds=$2
  mkdir -p "$dir/corpus/$t" "$dir/findings/$t" "$dir/logs"
  local log=$dir/logs/$t.log status=0
  "$dir/fuzz/fuzz_$t" "$dir/corpus/$t" "fuzz/corpus/$t" -max_total_time="$seconds" -timeout="$timeout" \
    -rss_limit_mb="$rss" -malloc_limit_mb="$rss" -close_fd_mask=2 -artifact_prefix="$dir/findings/$t/" -print_final_stats=1 \
    >"$log" 2>&1 || status=1
  local last execs rate peak
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | head -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | head -1)
  peak=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | head -1)
  printf '%-20s %s execs (%s/s), %s, peak %s MB, corpus %s files: %s\n' "$t" "${execs:-?}" "${rate:-?}" \
    "$(grep -oE 'cov: [0-9]+ ft: [0-9]+' <<<"$last" || echo 'cov ?')" "${peak:-?}" \
    "$(find "$dir/corpus/$t" -type f | wc -l)" "$([ $status -eq 0 ] && echo 'nothing found' || echo "FOUND, see $log and $dir/findings/$t/")"
  return $status
}

case "${1:-}" in
  list) targets ;;
  all)
    seconds=${2:-60}
    mapfile -t all < <(targets)
    build "${all[@]}"
    status=0
    for t in "${all[@]}"; do run "$t" "$seconds" || status=1; done
    exit $status
    ;;
  merge)
    t=${2:?usage: $0 merge TARGET}
    build "$t"
    merged=$(mktemp -d)
    trap 'rm -rf "$merged"' EXIT
    mkdir -p "$dir/corpus/$t" "$dir/logs"
    # The seeds stay; of the inputs the runs found, only those that reach
    # code (edges) the corpus does not reach yet are added, named by hash.
    cp "fuzz/corpus/$t"/* "$merged"/ 2>/dev/null || true
    before=$(find "$merged" -type f | wc -l)
    "$dir/fuzz/fuzz_$t" -merge=1 -use_counters=0 -timeout="$timeout" -rss_limit_mb="$rss" -close_fd_mask=2 "$merged" "$dir/corpus/$t" \
      >"$dir/logs/$t.merge.log" 2>&1
    for f in "$merged"/*; do
      [ -e "fuzz/corpus/$t/$(basename "$f")" ] || cp "$f" "fuzz/corpus/$t/"
    done
    echo "fuzz/corpus/$t: $before seeds, $(($(find "fuzz/corpus/$t" -type f | wc -l) - before)) inputs added"
    ;;
  ''|-h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
  *)
    t=$1
    [ -f "fuzz/$t.cpp" ] || { echo "no such target: $t (scripts/fuzz.sh list)" >&2; exit 2; }
    build "$t"
    run "$t" "${2:-60}"
    ;;
esac
