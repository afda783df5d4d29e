#!/usr/bin/env bash
# release.check: scripts/check-release in the copy of release_of_copy.sh, as a user checks shipped images: each
# case puts the copy's images, unsigned or signed with a throwaway certificate, into the folder to check, the
# copy's own dist/ or a folder elsewhere, with one byte of Update.exe changed or not. check-release must say
# that Update.exe matches or DIFFERS accordingly, that TkZip.dll matches, fail exactly when one differs, and
# leave the folder it checks as it was. It must refuse to check the folder that it builds in.
# Usage: check.sh CHECKOUT COPY
set -euo pipefail
checkout=$1 copy=$2
source "$checkout/scripts/lib/release.sh"
source "$checkout/tests/release/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_signer "$work" throwaway-$$
mkdir "$work/unsigned" "$work/signed"
for image in "${RELEASE_IMAGES[@]}"; do cp "$copy/build/release/$image" "$work/unsigned/"; done
cp "$work/unsigned/"* "$work/signed/"
sign_images "$work/signer.pfx" throwaway-$$ "$(cat "$copy.epoch")" "$work/signed"

# folder     images    changed  Update.exe
cases=(
  "dist      unsigned  no       matches"
  "dist      unsigned  yes      DIFFERS"
  "dist      signed    no       matches"
  "dist      signed    yes      DIFFERS"
  "elsewhere unsigned  yes      DIFFERS"
  "elsewhere signed    no       matches"
)
for case in "${cases[@]}"; do
  read -r where images changed expected <<<"$case"
  folder=$copy/dist
  [ "$where" = elsewhere ] && folder=$work/shipped
  rm -rf "$folder" && mkdir "$folder"
  cp "$work/$images/"* "$folder/"
  write_sums "$folder" SHA256SUMS
  [ "$changed" = yes ] && flip_byte "$folder/Update.exe" 4100
  before=$(folder_state "$folder")
  code=0
  out=$("$copy/scripts/check-release" "$folder" 2>&1) || code=$?
  echo "$where, $images, changed $changed: $(tr '\n' ' ' <<<"$out")"
  grep -q "^Update.exe: $expected" <<<"$out" && grep -q '^TkZip.dll: matches' <<<"$out" ||
    fail "$where, $images, changed $changed: not Update.exe $expected and TkZip.dll matches"
  [ "$code" = 0 ] && [ "$expected" = DIFFERS ] && fail "$where, $images, changed $changed: check-release succeeds"
  [ "$code" != 0 ] && [ "$expected" = matches ] && fail "$where, $images, changed $changed: check-release fails"
  [ "$(folder_state "$folder")" = "$before" ] || fail "$where, $images, changed $changed: the checked folder changed"
done

own=$copy/build/check-release
before=$(folder_state "$own")
out=$("$copy/scripts/check-release" "$own" 2>&1) && fail "check-release checks the folder that it builds in"
grep -q 'is the folder that check-release builds in' <<<"$out" || { echo "$out"; fail "check-release does not say why it refuses"; }
[ "$(folder_state "$own")" = "$before" ] || fail "the refused check changed its build folder"
[ $status = 0 ] && echo "check-release tells the images from changed ones, signed or not, and leaves the checked folder alone"
exit $status
