# Shared by scripts/test, scripts/demo and scripts/bench.

# The Windows tree whose programs run here: 32-bit Wine needs a kernel that runs 32-bit user code; where it
# does not, the same sources built for x86_64 run under 64-bit Wine. An i386 handler registered in
# binfmt_misc would run 32-bit programs under user-mode emulation, where 32-bit Wine crashes, and make the
# machine look 32-bit-capable; where one is enabled, the machine counts as one that runs no 32-bit code.
windows_test_tree() {
  if [ -z "$(i386_binfmt_handlers)" ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1; then echo win32; else echo win64; fi
}

# i386_binfmt_handlers: the enabled binfmt_misc entries that take i386 ELF programs, one path a line.
i386_binfmt_handlers() {
  local h
  for h in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$h" ] && grep -qx enabled "$h" 2>/dev/null &&
      grep -q '^magic 7f454c4601010100000000000000000002000300' "$h" 2>/dev/null && echo "$h"
  done
  return 0
}

# A virtual X display with a window manager when none is set, and one persistent wineserver for the whole
# run so that each Windows program starts quickly. $1 is the build tree whose Wine prefix is used.
start_display() {
  local tree=$1
  if [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 130); do
      { [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; } && continue
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      UPDATER_XVFB_PID=$!
      export DISPLAY=":$n"
      break
    done
    local i
    for i in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
    # Without a window manager Wine waits up to two seconds for every window it hides. No border: a window is
    # on screen exactly where Wine places it.
    evilwm -fn fixed -bw 0 >/dev/null 2>&1 &
    UPDATER_WM_PID=$!
  fi
  local arch=win64 wine=/usr/lib/wine/wine64
  [ "$(basename "$tree")" = win32 ] && arch=win32 wine=/usr/lib/wine/wine
  export WINEPREFIX=$tree/wineprefix WINEDEBUG=-all
  "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-prefix" "$WINEPREFIX" "$arch"
  # A prefix just made still has the server that made it, which ends with its last program; a second server
  # refuses to start beside it, so it would not stay. Wait for it to end first.
  wineserver -w >/dev/null 2>&1 || true
  LC_ALL=zh_CN.UTF-8 wineserver -p >/dev/null 2>&1 || true
  # Start Wine's background services now, detached from every pipe: started by a test program they would
  # inherit its output pipes and keep them open, so ctest's test discovery would wait for them until it times out.
  LC_ALL=zh_CN.UTF-8 WINEARCH=$arch "$wine" wineboot </dev/null >/dev/null 2>&1 || true
}

stop_display() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${UPDATER_WM_PID:-}" ] && kill "$UPDATER_WM_PID" 2>/dev/null || true
  [ -n "${UPDATER_XVFB_PID:-}" ] && kill "$UPDATER_XVFB_PID" 2>/dev/null || true
}

# wait_for_window NAME: the X window id of the first visible window of that name, waiting up to 60 seconds.
wait_for_window() {
  local id i
  for i in $(seq 1 600); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  return 1
}
