#!/usr/bin/env bash
# The desktop entry and the AppStream description, by the desktop's own
# validators (offline); exit 77 (skipped) when neither is installed.
#   validate_desktop_files.sh DESKTOP_ENTRY METAINFO
set -uo pipefail
desktop=$1 metainfo=$2
ran=0 status=0
if command -v desktop-file-validate >/dev/null; then
  ran=1
  out=$(desktop-file-validate "$desktop" 2>&1) || status=1
  [ -z "$out" ] || { echo "$out"; status=1; }
fi
if command -v appstreamcli >/dev/null; then
  ran=1
  appstreamcli validate --no-net --pedantic "$metainfo" || status=1
  # The description names the desktop entry it belongs to.
  id=$(basename "$desktop")
  grep -q "<launchable type=\"desktop-id\">$id</launchable>" "$metainfo" || { echo "$metainfo does not launch $id"; status=1; }
fi
[ $ran = 1 ] || { echo "skipped: neither desktop-file-validate nor appstreamcli is installed"; exit 77; }
exit $status
