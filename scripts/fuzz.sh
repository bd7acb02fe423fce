#!/usr/bin/env bash
# Builds the fuzz targets natively with clang's libFuzzer and the address and
# undefined-behaviour sanitizers, from the same sources as the Windows build,
# and runs each for FUZZ_SECONDS (default 140: all of them in under half an
# hour), one after the other.
#
#   scripts/fuzz.sh              every target
#   scripts/fuzz.sh lists order  some of them
#   FUZZ_SECONDS=600 scripts/fuzz.sh http -- -jobs=1   extra libFuzzer options after --
#
# New inputs collect in build/fuzz/<target>/corpus; the seeds in
# fuzz/corpus/<target> are only read. A crash, leak or hang is written to
# build/fuzz/<target>/crash-* (leak-*, timeout-*). build/fuzz/summary.txt gets
# one line per target: executions, seconds, outcome. Exits 1 when any target
# failed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_BUILD_DIR:-$top/build/fuzz}
seconds=${FUZZ_SECONDS:-140}

# Target: sources (below the top folder). Every target also gets fuzz/<name>_fuzz.cpp.
declare -A SOURCES=(
  [http]="host/network/http_request.cpp host/network/http_response.cpp common/searchandpast.cpp"
  [lists]="host/engine/list_text.cpp host/engine/wall_model.cpp fuzz/native/host_stand_ins.cpp"
  [order]="host/engine/order_text.cpp"
  [settings]="common/ini_text.cpp"
  [cmdline]="host/app/command_text.cpp common/searchandpast.cpp"
  [base64]="common/searchandpast.cpp"
  [reminder]="plugins/KvReminder/reminder_record.cpp plugins/KvReminder/schedule.cpp plugins/KvReminder/layout.cpp common/ini_text.cpp"
  [informer]="plugins/KvInformer/plain_text.cpp plugins/KvInformer/informer_record.cpp plugins/KvInformer/informer_switches.cpp plugins/KvInformer/folder_rotation.cpp plugins/KvInformer/informer_geometry.cpp plugins/KvInformer/weather_pages.cpp plugins/KvInformer/town_search.cpp"
  [dates]="plugins/KvDates/date_ini.cpp plugins/KvDates/date_text.cpp"
  [clock]="plugins/KvClock/clock_format.cpp"
  [filemon]="plugins/KvFileMon/folder_text.cpp fuzz/native/host_stand_ins.cpp"
  [htmltopic]="tools/KvHtmlToPic/pagerequest.cpp"
)
ORDER=(lists order settings cmdline reminder informer dates clock http base64 filemon htmltopic)
INCLUDES="-I$top/host -I$top/common -I$top/plugins/KvReminder -I$top/plugins/KvInformer -I$top/plugins/KvDates -I$top/plugins/KvClock -I$top/plugins/KvFileMon -I$top/tools/KvHtmlToPic"

targets=()
extra=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then shift; extra=("$@"); break; fi
  if [ -z "${SOURCES[$1]+x}" ]; then echo "fuzz: unknown target $1 (known: ${ORDER[*]})" >&2; exit 2; fi
  targets+=("$1"); shift
done
[ ${#targets[@]} -gt 0 ] || targets=("${ORDER[@]}")

# Debian 12 keeps libFuzzer's runtime in libclang-rt-14-dev.
if ! command -v clang++ >/dev/null 2>&1 || ! dpkg -s libclang-rt-14-dev >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "fuzz: clang and libclang-rt-14-dev are missing; run as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi

mkdir -p "$out"
summary="$out/summary.txt"
: > "$summary"
failed=0
for target in "${targets[@]}"; do
  dir="$out/$target"
  mkdir -p "$dir/corpus"
  sources=("$top/fuzz/${target}_fuzz.cpp")
  for source in ${SOURCES[$target]}; do sources+=("$top/$source"); done
  echo "== $target: building"
  # The sources are Windows-free; only _strdup needs its POSIX name.
  # shellcheck disable=SC2086
  clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -D_strdup=strdup $INCLUDES "${sources[@]}" -o "$dir/${target}_fuzz"

  options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -artifact_prefix="$dir/")
  [ -f "$top/fuzz/$target.dict" ] && options+=(-dict="$top/fuzz/$target.dict")
  seeds=()
  [ -d "$top/fuzz/corpus/$target" ] && seeds+=("$top/fuzz/corpus/$target")
  echo "== $target: running for $seconds s"
  started=$(date +%s)
  set +e
  (cd "$dir" && "./${target}_fuzz" "${options[@]}" "${extra[@]}" "$dir/corpus" "${seeds[@]}") > "$dir/log.txt" 2>&1
  status=$?
  set -e
  took=$(( $(date +%s) - started ))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log.txt" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log.txt" | tail -1)
  cover=$(grep -o 'cov: [0-9]*' "$dir/log.txt" | tail -1 | cut -d' ' -f2)
  corpus=$(find "$dir/corpus" -type f | wc -l)
  outcome=clean
  if [ "$status" -ne 0 ]; then
    outcome="FAILED (exit $status, see $dir/log.txt)"
    failed=1
  fi
  line=$(printf '%-9s %10s runs %5s s %7s/s  cov %5s  corpus %5s  %s' "$target" "${runs:-?}" "$took" "${rate:-?}" "${cover:-?}" "$corpus" "$outcome")
  echo "$line" | tee -a "$summary"
done
echo "== summary ($summary)"
cat "$summary"
exit $failed
