#!/usr/bin/env bash
# Sets up, builds and runs every test: the plain build, then the
# AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
status=0
for kind in plain asan; do
  dir=build; [ "$kind" = asan ] && dir=build-asan
  echo "== $kind build"
  scripts/build.sh "$kind"
  echo "== $kind tests"
  ctest --test-dir "$dir" --output-on-failure --timeout 600 || status=1
done
exit $status
