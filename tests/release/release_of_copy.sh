#!/usr/bin/env bash
# release.build: copies the checkout's files (its uncommitted changes too, without .git) into another folder,
# COPY, and runs scripts/release there without a certificate, later than the tree under test was built. A folder
# that is no git checkout is no commit: the release must refuse it, and make it when told to
# (RELEASE_ALLOW_CHANGES=1), saying that it is not of a commit and unsigned and leaving that note beside the sums.
# The later release tests compare, sign and check what it leaves in COPY.
# Usage: release_of_copy.sh CHECKOUT COPY
set -euo pipefail
checkout=$1 copy=$2
rm -rf "$copy" && mkdir -p "$copy"
# Files deleted in the work tree but not yet from the index are listed too; tar passes over them.
(cd "$checkout" && git ls-files -z --cached --others --exclude-standard |
  tar --no-recursion --ignore-failed-read --null -T - -cf -) | tar -C "$copy" -xf -
epoch=$(git -C "$checkout" log -1 --format=%ct)
echo "$epoch" >"$copy.epoch"
export SOURCE_DATE_EPOCH=$epoch
status=0
fail() { echo "FAILED: $*"; status=1; }

out=$(env -u RELEASE_PFX -u RELEASE_PFX_PASSWORD -u RELEASE_ALLOW_CHANGES "$copy/scripts/release" 2>&1) &&
  fail "scripts/release makes a release of a folder that is no git checkout"
echo "$out"
grep -q '^release: refused' <<<"$out" && grep -q 'not a git checkout' <<<"$out" ||
  fail "scripts/release does not say why it refuses a folder that is no git checkout"
[ ! -e "$copy/dist" ] || fail "the refused release left $copy/dist"

out=$(env -u RELEASE_PFX -u RELEASE_PFX_PASSWORD RELEASE_ALLOW_CHANGES=1 "$copy/scripts/release" 2>&1) || {
  echo "$out"; echo "FAILED: scripts/release in $copy"; exit 1; }
echo "$out"
grep -q '^release: UNSIGNED' <<<"$out" || fail "the release does not say that it is unsigned"
grep -q '^release .* NOT OF A COMMIT' <<<"$out" || fail "the release does not say that it is not of a commit"
grep -q 'a folder that is no git checkout' "$copy/dist/UNCOMMITTED.txt" ||
  fail "no UNCOMMITTED.txt beside the sums saying that the release is not of a commit"
exit $status
