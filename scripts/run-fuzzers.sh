#!/usr/bin/env bash
# Runs every fuzz target in a build folder for a number of seconds each: first over the
# kept regression inputs, then over the seed corpus, exploring. Fails on any crash.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/fuzz}
seconds=${2:-30}

status=0
for bin in "$build"/fuzz/fuzz_*; do
  [ -x "$bin" ] || continue
  name=$(basename "$bin"); name=${name#fuzz_}
  corpus="fuzz/corpus/$name"
  regressions="fuzz/regressions/$name"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/ 2>/dev/null || true
  if [ -d "$regressions" ] && ls "$regressions"/* >/dev/null 2>&1; then
    "$bin" "$regressions"/* >/dev/null 2>&1 || { echo "fuzz $name: a kept regression input fails"; status=1; }
  fi
  echo "fuzz $name: ${seconds}s"
  if ! "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$work/" "$work" > "$work/log" 2>&1; then
    echo "fuzz $name: FAILED"; tail -n 40 "$work/log"; ls "$work"/crash-* "$work"/timeout-* 2>/dev/null || true
    status=1
  else
    grep -E '^#[0-9]+.*(DONE|pulse)' "$work/log" | tail -n 1 || true
  fi
  rm -rf "$work"
done
exit $status
