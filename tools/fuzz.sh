#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build/fuzz and runs them.
#   tools/fuzz.sh TARGET [SECONDS] [libFuzzer options]
#       fuzzes TARGET for SECONDS (60 by default), starting from its seeds in fuzz/corpus/ and
#       what earlier runs found (kept in build/fuzz/corpus/TARGET); a finding is written to
#       build/fuzz/findings/ and ends the run with a non-zero status
#   tools/fuzz.sh --fresh TARGET SECONDS   the same from the seeds alone (what tools/test.sh runs)
#   tools/fuzz.sh --list                   the targets
#   tools/fuzz.sh --seeds                  records the drive targets' seeds anew from the
#                                          emulator's scenarios
# Replay one input: build/fuzz/fuzz/fuzz_TARGET FILE
set -uo pipefail
cd "$(dirname "$0")/.."

targets=(identify modepages toc speed transport registry scenario commandline)
# The scenarios whose drives answer the seeds of each drive target.
declare -A seed_scenarios=(
  [identify]="generic-48x-mmc plextor-px40 toshiba-xm6201ta nec-cdr3001a philips-cdd2600 jvc-xrw2010-cdda12 mode-sense-faults"
  [modepages]="generic-48x-mmc plextor-px40 toshiba-xm6201ta nec-cdr3001a mode-sense-faults"
  [toc]="audio-cd mixed-mode cd-extra xa-disc no-disc"
  [speed]="generic-48x-mmc plextor-px40 toshiba-xm6201ta nec-cdr3001a philips-cdd2600"
  [transport]="generic-48x-mmc mode-sense-faults"
)
build=build/fuzz

build_targets() {
  mkdir -p $build
  { CC=clang CXX=clang++ cmake -S . -B $build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALMOR_FUZZ=ON &&
    cmake --build $build -j2 --target "$@"; } >$build/build.txt 2>&1 || { tail -30 $build/build.txt; exit 2; }
}

case "${1:-}" in
--list) printf '%s\n' "${targets[@]}"; exit 0 ;;
--seeds)
  recorded=("${!seed_scenarios[@]}")
  build_targets "${recorded[@]/#/fuzz_}"
  for t in "${recorded[@]}"; do
    files=$(for s in ${seed_scenarios[$t]}; do printf 'emu/scenarios/%s.json ' "$s"; done)
    rm -rf "fuzz/corpus/$t" && mkdir -p "fuzz/corpus/$t"
    KALMOR_FUZZ_RECORD=fuzz/corpus/$t KALMOR_FUZZ_SCENARIOS=$files $build/fuzz/fuzz_$t || exit 1
  done
  exit 0 ;;
--fresh) fresh=1; shift ;;
"") sed -n '2,14p' "$0"; exit 2 ;;
*) fresh=0 ;;
esac

target=$1
seconds=${2:-60}
shift $(( $# >= 2 ? 2 : 1 ))
[[ " ${targets[*]} " == *" $target "* ]] || { echo "unknown target $target (tools/fuzz.sh --list)"; exit 2; }
mkdir -p $build/findings
build_targets "fuzz_$target"

corpus=$build/corpus/$target
[ "$fresh" -eq 1 ] && corpus=$build/fresh/$target && rm -rf "$corpus"
mkdir -p "$corpus"
seeds=()
[ -d "fuzz/corpus/$target" ] && seeds+=("fuzz/corpus/$target")
[ "$target" = scenario ] && seeds+=(emu/scenarios)

# Allocation stacks cost a fifth of the time; replaying a finding without this option shows them.
ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0} \
$build/fuzz/fuzz_$target "$corpus" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix=$build/findings/$target- "$@" 2>&1 | tee $build/fuzz-$target.txt |
  grep -E '^(==|SUMMARY|#[0-9]+ +DONE)|fuzz oracle|runtime error|ERROR:'
status=${PIPESTATUS[0]}
runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' $build/fuzz-$target.txt)
cov=$(grep -oE 'cov: [0-9]+' $build/fuzz-$target.txt | tail -1)
echo "fuzz $target: ${runs:-0} runs, ${cov:-cov: ?}, $([ "$status" -eq 0 ] && echo "no finding" || echo "FINDING (status $status, see $build/findings)")"
exit "$status"
