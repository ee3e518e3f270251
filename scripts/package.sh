#!/usr/bin/env bash
# Builds the Debian package build/package/kelvora_<version>-1_<arch>.deb from
# the plain build (CPack's DEB generator) and checks it with lintian.
#   scripts/package.sh
# scripts/try-package.sh then installs it, starts it for a new user and
# removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh plain
rm -rf build/package
cpack --config build/CPackConfig.cmake -B build/package >build/package.log 2>&1 || { cat build/package.log; exit 1; }
rm -rf build/package/_CPack_Packages
deb=$(ls build/package/kelvora_*.deb)
echo "package: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
if command -v lintian >/dev/null; then
  echo "== lintian"
  lintian --info --display-info --pedantic "$deb"
  echo "lintian: no complaints (overrides: /usr/share/lintian/overrides/kelvora in the package)"
fi
