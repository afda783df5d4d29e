# Used by scripts/bench: the CPU time that Update.exe's Linux process spends while its window stays open
# with the strip playing, against a plain Wine program idling in its message loop (the fake exam client)
# over the same time. Needs start_display and wait_for_window (display.sh).

# process_ticks PID: user plus system clock ticks of the process, all its threads (fields 14 and 15 of
# /proc/PID/stat, counted after the command name, which may hold spaces).
process_ticks() {
  sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'
}

# wine_process PID NAME: PID, once its command line holds NAME (the launching script execs into Wine,
# which keeps the process and shows the Windows program's command line).
wine_process() {
  grep -qF -- "$2" "/proc/$1/cmdline" && echo "$1"
}

# prefix_wineserver: the id of the wineserver of $WINEPREFIX, which works in the server folder named
# after the prefix's device and inode (other Wine runs may share the machine).
prefix_wineserver() {
  local pid folder
  folder=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
  for pid in $(pgrep wineserver); do
    [ "$(basename "$(readlink "/proc/$pid/cwd")")" = "$folder" ] && { echo "$pid"; return; }
  done
  return 1
}

# cpu_percent PID SECONDS: "process wineserver": each one's CPU time over SECONDS, in % of one core.
cpu_percent() {
  local server hz p0 s0 p1 s1
  [ -n "$1" ] || { echo "no Wine process to measure" >&2; return 1; }
  server=$(prefix_wineserver)
  hz=$(getconf CLK_TCK)
  p0=$(process_ticks "$1") s0=$(process_ticks "$server")
  sleep "$2"
  p1=$(process_ticks "$1") s1=$(process_ticks "$server")
  awk -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v hz="$hz" -v t="$2" \
    'BEGIN {printf "%.2f %.2f\n", 100 * p / hz / t, 100 * s / hz / t}'
}

# stop_wine_program PID: asks the window that has the focus to close (Alt+F4), then ends PID if it stays.
stop_wine_program() {
  local i
  xdotool key alt+F4 2>/dev/null || true
  for i in $(seq 1 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# An application folder without update manifest: the run reports it in a notice, then its window stays.
prepare_playback_folder() { # folder, Windows build tree
  rm -rf "$1"
  mkdir -p "$1/Update"
  cp "$2/Update.exe" "$2/TkZip.dll" "$1/"
}

# strip_playback_cpu FOLDER TREE SECONDS: "process wineserver" CPU % while the window is open.
strip_playback_cpu() {
  local folder=$1 tree=$2 seconds=$3 runner pid
  prepare_playback_folder "$folder" "$tree"
  (cd "$folder" && exec "$root/tools/wine-run" "$folder/Update.exe" -UR) &
  runner=$!
  wait_for_window Update >/dev/null # the notice, titled with the program's name
  sleep 0.5
  xdotool key Return
  wait_for_window Marovin >/dev/null
  sleep 1
  pid=$(wine_process "$runner" Update.exe)
  cpu_percent "$pid" "$seconds"
  stop_wine_program "$runner"
}

# idle_client_cpu FOLDER TREE SECONDS: "process wineserver" CPU % of the fake client in its message loop.
idle_client_cpu() {
  local folder=$1 tree=$2 seconds=$3 runner pid i
  mkdir -p "$folder"
  rm -f "$folder/client-started.txt"
  cp "$tree/QeltoExam.exe" "$folder/"
  (cd "$folder" && exec "$root/tools/wine-run" "$folder/QeltoExam.exe") &
  runner=$!
  for i in $(seq 1 300); do [ -s "$folder/client-started.txt" ] && break; sleep 0.1; done
  sleep 1
  pid=$(wine_process "$runner" QeltoExam.exe)
  cpu_percent "$pid" "$seconds"
  kill "$runner" 2>/dev/null || true
  wait "$runner" 2>/dev/null || true
}
