# Shared by scripts/test and scripts/test-guest: runs the Windows tests of the shipped i686 tree build/win32
# inside the emulated i386 guest, for machines whose kernel runs no 32-bit code. qemu-system-i386 (TCG, no
# hardware acceleration) boots the Debian i386 image of scripts/guest/make-image (made when its recipe
# changed); the guest mounts this work tree at the same path, copies build/win32 onto its own disk and runs
# the tests there under 32-bit Wine (scripts/guest/run-tests). The guest's console is shown as it runs and
# kept in build/guest/console.log, ctest's output in build/guest/windows-ctest.log, and each phase's time in
# build/guest/times.log.

# guest_timed NAME COMMAND...: runs COMMAND and logs its wall time under NAME.
guest_timed() {
  local name=$1 start status=0; shift
  start=$(date +%s.%N)
  "$@" || status=$?
  awk -v n="$name" -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {printf "host-time: %s %.1f s\n", n, b - a}' \
    >>build/guest/times.log
  return $status
}

guest_boot() {
  local image
  image=$(guest_image_dir)
  timeout "${UPDATER_GUEST_TIMEOUT:-3600}" qemu-system-i386 -accel tcg,thread=multi -smp 2 -m 3G \
    -nographic -no-reboot -nic none \
    -kernel "$image/vmlinuz" -initrd "$image/initrd.img" \
    -drive "file=$image/root.img,format=raw,if=virtio,snapshot=on" \
    -virtfs "local,path=$PWD,mount_tag=updater,security_model=none,id=updater" \
    -append "console=ttyS0 root=/dev/vda rw quiet init=/usr/local/sbin/updater-guest-init updater.share=$PWD updater.run=scripts/guest/run-tests" \
    </dev/null 2>&1 | tee build/guest/console.log
}

# run_guest_tests [REGEX [TIMES]]: runs the tests matching REGEX (all when empty) in the guest, each up to
# TIMES times until it fails (once by default). Succeeds only when
# the guest came back with ctest's summary and every test passed; a guest that did not come back (a boot
# failure, the time-out, no summary) is reported with the end of its console.
run_guest_tests() {
  source scripts/guest/image.sh
  rm -rf build/guest && mkdir -p build/guest
  guest_timed "image (made when its recipe changed)" bash scripts/guest/make-image
  guest_timed "build of build/win32 with its Wine tests listed" build_shipped_tree ON >/dev/null
  printf '%s' "${1:-}" >build/guest/filter
  printf '%s' "${2:-}" >build/guest/repeat
  guest_timed "guest run (boot, copy, prefix, tests, power-off)" guest_boot || true
  grep -a '^guest-time:' build/guest/console.log | tr -d '\r' >>build/guest/times.log || true
  cat build/guest/times.log
  local exit_line
  exit_line=$(grep -a '^updater-guest-exit:' build/guest/console.log | tr -d '\r' | awk '{print $2}' | tail -n 1) || true
  if [ -z "$exit_line" ] || ! grep -q 'tests passed, [0-9]* tests failed out of' build/guest/windows-ctest.log 2>/dev/null; then
    echo "guest: the guest did not come back with a test summary; the end of its console (build/guest/console.log):" >&2
    tail -n 40 build/guest/console.log >&2
    return 1
  fi
  [ "$exit_line" = 0 ]
}
