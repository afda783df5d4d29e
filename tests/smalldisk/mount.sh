#!/usr/bin/env bash
# Mounts a small file system (a tmpfs of SIZE MiB) at FOLDER for the end-to-end test of a nearly full disk.
# Where this user may not mount, FOLDER stays a plain folder and that test skips itself; so this never fails.
# Usage: mount.sh FOLDER SIZE_MIB
folder=$1
size=$2
mkdir -p "$folder"
if mountpoint -q "$folder"; then
  umount "$folder" 2>/dev/null || true
fi
if ! mount -t tmpfs -o "size=${size}m,mode=0777" tmpfs "$folder" 2>/dev/null; then
  echo "small disk: cannot mount a tmpfs at $folder here; the test of a nearly full disk skips"
fi
exit 0
