# Shared by scripts/guest/make-image and scripts/test-guest: where the emulated i386 guest's image lives.
# The cache folder is keyed by a hash of the recipe (the files that make the image and the stand-in font
# copied into it), so a changed recipe makes a new image and an unchanged one is reused.

guest_recipe_hash() {
  local here
  here=$(dirname "${BASH_SOURCE[0]}")
  cat "$here/make-image" "$here/with-i386-emulation" "$here/image.sh" "$here/guest-init" \
    "${UPDATER_DEPS:-/opt/updater-deps}/fonts/UpdaterSong.ttf" | sha256sum | cut -c1-16
}

guest_image_dir() {
  echo "${UPDATER_DEPS:-/opt/updater-deps}/guest-i386/$(guest_recipe_hash)"
}
