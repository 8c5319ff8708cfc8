#!/usr/bin/env bash
# Mounts (or unmounts) a file system of a few pages (32k, or the size given) at
# the given folder, for the tests that save to a full disk. Mounting needs root;
# without it the folder is left absent and those tests skip themselves.
set -euo pipefail
action=$1 folder=$2
size=${3:-32k}
case $action in
  mount)
    mkdir -p "$folder"
    if ! mountpoint -q "$folder" &&
      ! mount -t tmpfs -o size=$size,mode=0777 tarvolo-small "$folder" 2>/dev/null; then
      rmdir "$folder"
      echo "no small file system at $folder: mounting needs root"
    fi
    ;;
  unmount)
    if mountpoint -q "$folder"; then umount "$folder"; fi
    rmdir "$folder" 2>/dev/null || true
    ;;
esac
