#!/usr/bin/env bash
# Unmounts the small file system that mount.sh made at FOLDER, if it is mounted. Never fails.
# Usage: unmount.sh FOLDER
if mountpoint -q "$1"; then
  umount "$1" 2>/dev/null || umount -l "$1" 2>/dev/null || true
fi
exit 0
