#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks its control fields
# and its file list (exactly the files in expected-files.txt), and that the
# machine-wide component registration names the installed modules.
#   check_package.sh BUILD_DIR OUT_DIR
# Exit 77 (skipped) when the Debian tools are missing.
set -euo pipefail
build=$1 out=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
rm -rf "$out"
mkdir -p "$out"
if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log"
  exit 1
fi
debs=("$out"/kelvora_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "no single package in $out"; ls "$out"; exit 1; }
deb=${debs[0]}
status=0
fail() { echo "FAIL: $*"; status=1; }

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kelvora ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version-1" ] || fail "Version: $(field Version), project $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = utils ] || fail "Section: $(field Section)"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer: $(field Maintainer)"
depends=$(field Depends)
# Computed from the built files: Qt, ICU, the sound server, libsndfile, the C++ library.
for needed in libqt6widgets6 libpulse0 libsndfile1 libicu libstdc++6 libc6; do
  [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
[[ "$depends" != *kelvora* ]] || fail "Depends names the package's own libraries: $depends"

dpkg-deb -c "$deb" | awk '{ print substr($1, 1, 1) " " $6 }' | sed 's| \./| /|; s|/$||' | grep -v ' /$' |
  grep -v '^d ' | sed 's/^. //' | sort >"$out/files.txt"
if ! diff -u "$here/expected-files.txt" "$out/files.txt"; then
  fail "the file list differs from expected-files.txt (above)"
fi

dpkg-deb -x "$deb" "$out/root"
registry="$out/root/usr/share/Kelvora/components.ini"
for module in libQuillet.so libkvbuzzer.so; do
  grep -qx "InprocServer=/usr/lib/kelvora/$module" "$registry" || fail "$registry does not register /usr/lib/kelvora/$module"
done
if grep -q "$build" "$registry"; then fail "$registry names the build tree"; fi
[ "$(readlink "$out/root/usr/bin/Kelvora")" = ../lib/kelvora/Kelvora ] || fail "/usr/bin/Kelvora does not lead to the program"
exit $status
