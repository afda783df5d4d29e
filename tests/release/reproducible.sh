#!/usr/bin/env bash
# release.reproducible: the images that scripts/release built in another folder, at another time
# (release_of_copy.sh), are byte for byte those of the tree under test; they carry no link time and no build
# folder; and the archive made again from the tested images (and the release's note that the copy is no
# commit), in a third folder, is byte for byte the release's.
# Usage: reproducible.sh CHECKOUT COPY TESTED_FOLDER
set -euo pipefail
checkout=$1 copy=$2 tested=$3
source "$checkout/scripts/lib/release.sh"
status=0
fail() { echo "FAILED: $*"; status=1; }
# link_time IMAGE: the time in the image's PE file header (4 bytes, 8 bytes into the header that the
# 32-bit offset at 0x3C points to).
link_time() {
  local header
  header=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -tu4 -j $((header + 8)) -N 4 "$1" | tr -d ' '
}

for image in "${RELEASE_IMAGES[@]}"; do
  echo "$image: tested $(date -r "$tested/$image" +%T) in $tested, released $(date -r "$copy/build/release/$image" +%T) in $copy"
  cmp "$tested/$image" "$copy/dist/$image" || fail "$image differs between the tested tree and the release"
  [ "$(link_time "$tested/$image")" = 0 ] || fail "$image carries its link time $(link_time "$tested/$image")"
  for path in "$checkout" "$copy" "${UPDATER_DEPS:-/opt/updater-deps}"; do
    grep -q -a -F "$path" "$tested/$image" "$copy/dist/$image" && fail "$image holds the path $path"
  done
done
cmp "$copy/dist/SHA256SUMS" "$copy/dist/SHA256SUMS.unsigned" || fail "an unsigned release's two sums differ"

again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
for image in "${RELEASE_IMAGES[@]}"; do cp "$tested/$image" "$again/"; done
write_sums "$again" SHA256SUMS
# The copy is no commit, so its release carries the note that says so, which the archive holds too.
cp "$copy/dist/$UNCOMMITTED_NOTE" "$again/"
archive=$(cd "$copy/dist" && ls Update-*.zip)
[ "$archive" = "Update-$(cd "$checkout" && release_version).zip" ] || fail "the archive $archive is not named by VERSION"
make_archive "$again" "$(cat "$copy.epoch")" "$archive"
cmp "$again/$archive" "$copy/dist/$archive" || fail "$archive differs when made again from the tested images"
unzip -Z1 "$copy/dist/$archive" | tr '\n' ' ' | grep -qx "Update.exe TkZip.dll SHA256SUMS $UNCOMMITTED_NOTE " ||
  fail "$archive does not hold exactly Update.exe, TkZip.dll, SHA256SUMS and $UNCOMMITTED_NOTE"
[ $status = 0 ] && echo "the release's images and archive are those of the tested tree, byte for byte"
exit $status
