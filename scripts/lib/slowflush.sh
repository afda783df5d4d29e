# The slow-flush folder of scripts/bench: a FUSE pass-through file system (bench/slowflush) whose fsyncs cost
# what a spinning disk's do. Mounted and unmounted by the benchmark only; the caller traps unmount_slowflush.

# Builds the file system and mounts it on $1, its files kept in $2; each device flush takes $3 ms.
mount_slowflush() {
  local mountpoint=$1 backing=$2 flush_ms=$3 program=$root/build/bench-native/slowflush i
  gcc -O2 -Wall -Wextra -Werror -o "$program" "$root/bench/slowflush/slowflush.c" $(pkg-config --cflags --libs fuse3)
  # A mount that a killed benchmark left behind.
  fusermount3 -u -z "$mountpoint" 2>/dev/null || true
  mkdir -p "$mountpoint" "$backing"
  "$program" -f -o "backing=$backing,flush_ms=$flush_ms,max_threads=32" "$mountpoint" 2>"$root/build/bench-work/slowflush.log" &
  SLOWFLUSH_PID=$!
  SLOWFLUSH_MOUNT=$mountpoint
  for i in $(seq 1 100); do mountpoint -q "$mountpoint" && return 0; sleep 0.1; done
  echo "the slow-flush folder did not mount: $(cat "$root/build/bench-work/slowflush.log")" >&2
  return 1
}

# Unmounts the folder when mounted, waits for its file system to end and prints what it counted.
unmount_slowflush() {
  [ -n "${SLOWFLUSH_PID:-}" ] || return 0
  mountpoint -q "$SLOWFLUSH_MOUNT" && fusermount3 -u "$SLOWFLUSH_MOUNT"
  wait "$SLOWFLUSH_PID" || true
  SLOWFLUSH_PID=
  grep -v '^Ignoring' "$root/build/bench-work/slowflush.log" >&2 || true
}
