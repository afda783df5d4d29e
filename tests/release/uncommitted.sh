#!/usr/bin/env bash
# release.uncommitted: the copy of release_of_copy.sh made a git checkout of its own and committed. Its release
# must be of that commit, without the note; every change must be refused before anything is built or written
# (a changed, a staged and an untracked source, which the build's globs would compile in); an untracked file
# released with RELEASE_ALLOW_CHANGES=1 must be named in the output and in the note beside the sums and in the
# archive, and give the same images. The copy is left without .git again.
# Usage: uncommitted.sh CHECKOUT COPY
set -euo pipefail
checkout=$1 copy=$2
source "$checkout/scripts/lib/release.sh"
source "$checkout/tests/release/lib.sh"
images=$(mktemp -d)
trap 'rm -rf "$images" "$copy/.git" "$copy/notes.txt" "$copy/tkzip/Stray.cpp"' EXIT
git_in_copy() { git -C "$copy" -c user.name=Tester -c user.email=tester@invalid "$@"; }
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(cat "$copy.epoch")
unset RELEASE_ALLOW_CHANGES RELEASE_PFX RELEASE_PFX_PASSWORD RELEASE_TIMESTAMP_URL

git_in_copy init -q
git_in_copy add -A
git_in_copy commit -q -m "The release tests' copy"
commit=$(git_in_copy rev-parse HEAD)
out=$("$copy/scripts/release" 2>&1) || { echo "$out"; echo "FAILED: scripts/release of a commit"; exit 1; }
echo "$out"
grep -q "^release .* of commit $commit, in dist/" <<<"$out" || fail "the release does not name its commit"
[ ! -e "$copy/dist/$UNCOMMITTED_NOTE" ] || fail "the release of a commit carries $UNCOMMITTED_NOTE"
unzip -Z1 "$copy/dist"/Update-*.zip | tr '\n' ' ' | grep -qx 'Update.exe TkZip.dll SHA256SUMS ' ||
  fail "the archive of a commit's release does not hold exactly Update.exe, TkZip.dll and SHA256SUMS"
cp "$copy/dist/Update.exe" "$copy/dist/TkZip.dll" "$images/"

# make_change NAME: one change of the checkout, as its name says.
make_change() {
  case $1 in
    changed-source) printf '\n' >>"$copy/app/ProgramWin32.cpp" ;;
    staged-text) printf 'more\n' >>"$copy/VERSION" && git_in_copy add VERSION ;;
    untracked-source) printf 'int stray;\n' >"$copy/tkzip/Stray.cpp" ;;
  esac
}
# state: the release's folder and the images built, as the refused release must leave them.
state() { folder_state "$copy/dist"; stat -c '%n %s %Y' "$copy/build/release/"{Update.exe,TkZip.dll}; }

# change          as git status shows it
cases=(
  "changed-source| M app/ProgramWin32.cpp"
  "staged-text|M  VERSION"
  "untracked-source|?? tkzip/Stray.cpp"
)
for case in "${cases[@]}"; do
  IFS='|' read -r name shown <<<"$case"
  make_change "$name"
  before=$(state)
  out=$("$copy/scripts/release" 2>&1) && fail "$name: scripts/release makes a release of a checkout with changes"
  grep -q '^release: refused: a release is of a commit' <<<"$out" && grep -qF "$shown" <<<"$out" &&
    grep -q 'RELEASE_ALLOW_CHANGES=1' <<<"$out" || { echo "$out"; fail "$name: the refusal does not name the change"; }
  [ "$(state)" = "$before" ] ||
    fail "$name: the refused release changed dist/ or build/release"
  git_in_copy reset -q --hard
  git_in_copy clean -q -f
done

echo "notes of the day" >"$copy/notes.txt"
out=$(RELEASE_ALLOW_CHANGES=1 "$copy/scripts/release" 2>&1) || { echo "$out"; echo "FAILED: scripts/release told to release changes"; exit 1; }
echo "$out"
grep -q "^release .* NOT OF A COMMIT (RELEASE_ALLOW_CHANGES=1): made from commit $commit with changes" <<<"$out" ||
  fail "the release does not say that it is not of its commit"
grep -q "from commit $commit" "$copy/dist/$UNCOMMITTED_NOTE" && grep -qx '?? notes.txt' "$copy/dist/$UNCOMMITTED_NOTE" ||
  fail "$UNCOMMITTED_NOTE does not name the commit and the change"
unzip -Z1 "$copy/dist"/Update-*.zip | grep -qx "$UNCOMMITTED_NOTE" || fail "the archive lacks $UNCOMMITTED_NOTE"
for image in "${RELEASE_IMAGES[@]}"; do
  cmp "$copy/dist/$image" "$images/$image" || fail "$image differs from the commit's though nothing built changed"
done
[ $status = 0 ] && echo "a release is of its commit; changes are refused, and released only when asked, marked"
exit $status
