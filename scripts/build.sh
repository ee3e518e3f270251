#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh [plain|asan]
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-plain}
case "$kind" in
  plain) dir=build;      extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)  dir=build-asan; extra=(-DCMAKE_BUILD_TYPE=Debug -DKELVORA_SANITIZE=ON) ;;
  *) echo "usage: $0 [plain|asan]" >&2; exit 2 ;;
esac
werror=OFF
[ -n "${CI:-}" ] && werror=ON
# ccache, when installed, makes rebuilds in several checkouts cheap.
if command -v ccache >/dev/null 2>&1; then
  extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$PWD")} CCACHE_NOHASHDIR=1
fi
cmake -S . -B "$dir" -G Ninja -DKELVORA_WERROR="$werror" "${extra[@]}" >/dev/null
cmake --build "$dir" --parallel "${JOBS:-$(nproc)}"
