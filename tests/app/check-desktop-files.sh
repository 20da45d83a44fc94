#!/usr/bin/env bash
# The desktop entry and the file type pass their validators, and the type
# database made from ours knows "*.qrv" and the magic "QRV".
set -euo pipefail
folder=$1
desktop-file-validate "$folder/quorvane.desktop"
xmllint --noout "$folder/quorvane.xml"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/packages"
cp "$folder/quorvane.xml" "$scratch/packages/"
update-mime-database "$scratch" >/dev/null 2>&1
grep -q 'application/x-quorvane:\*\.qrv' "$scratch/globs2"
grep -q 'application/x-quorvane' "$scratch/magic"
grep -aq 'QRV' "$scratch/magic"
grep -q '^MimeType=application/x-quorvane;' "$folder/quorvane.desktop"
grep -q '^Exec=quorvane %F' "$folder/quorvane.desktop"
echo "desktop entry and file type are valid"
