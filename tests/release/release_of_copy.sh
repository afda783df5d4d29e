#!/usr/bin/env bash
# release.build: copies the checkout's files (its uncommitted changes too) into another folder, COPY, and runs
# scripts/release there without a certificate, later than the tree under test was built. It must succeed and
# say that the release is unsigned. The later release tests compare and sign what it leaves in COPY/dist.
# Usage: release_of_copy.sh CHECKOUT COPY
set -euo pipefail
checkout=$1 copy=$2
rm -rf "$copy" && mkdir -p "$copy"
# Files deleted in the work tree but not yet from the index are listed too; tar passes over them.
(cd "$checkout" && git ls-files -z --cached --others --exclude-standard |
  tar --no-recursion --ignore-failed-read --null -T - -cf -) | tar -C "$copy" -xf -
epoch=$(git -C "$checkout" log -1 --format=%ct)
echo "$epoch" >"$copy.epoch"
out=$(env -u RELEASE_PFX -u RELEASE_PFX_PASSWORD SOURCE_DATE_EPOCH="$epoch" "$copy/scripts/release" 2>&1) || {
  echo "$out"; echo "FAILED: scripts/release in $copy"; exit 1; }
echo "$out"
grep -q '^release: UNSIGNED' <<<"$out" || { echo "FAILED: the release does not say that it is unsigned"; exit 1; }
