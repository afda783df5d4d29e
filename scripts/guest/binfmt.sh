# Used by scripts/guest/make-image: user-mode emulation of i386 through binfmt_misc, registered only while
# the image's package scripts run. A handler left behind would make this machine look 32-bit-capable, so
# register_i386_emulation is always paired with a trap that calls unregister_i386_emulation.

updater_binfmt=/proc/sys/fs/binfmt_misc
updater_binfmt_name=updater-i386
updater_binfmt_mounted=

register_i386_emulation() {
  if [ ! -e "$updater_binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$updater_binfmt"
    updater_binfmt_mounted=1
  fi
  # An i386 ELF executable (class 32, little-endian, type EXEC or DYN, machine 3). F: the emulator is opened
  # now, so it is found inside the chroot too.
  printf '%s' ":$updater_binfmt_name:M::"'\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    > "$updater_binfmt/register"
}

unregister_i386_emulation() {
  [ -e "$updater_binfmt/$updater_binfmt_name" ] && echo -1 > "$updater_binfmt/$updater_binfmt_name"
  [ -n "$updater_binfmt_mounted" ] && umount "$updater_binfmt"
  updater_binfmt_mounted=
  return 0
}
