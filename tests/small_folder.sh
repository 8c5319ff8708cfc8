#!/usr/bin/env bash
# Mounts (or unmounts) a file system of a few pages at the given folder, for the
# UI test that saves to a full disk. Mounting needs root; without it the folder
# is left absent and that test skips itself.
set -euo pipefail
action=$1 folder=$2
case $action in
  mount)
    mkdir -p "$folder"
    if ! mountpoint -q "$folder" &&
      ! mount -t tmpfs -o size=32k,mode=0777 tarvolo-small "$folder" 2>/dev/null; then
      rmdir "$folder"
      echo "no small file system at $folder: mounting needs root"
    fi
    ;;
  unmount)
    if mountpoint -q "$folder"; then umount "$folder"; fi
    rmdir "$folder" 2>/dev/null || true
    ;;
esac
