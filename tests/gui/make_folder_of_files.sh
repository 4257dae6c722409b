#!/usr/bin/env bash
# Makes a folder of many empty ROM files and some sub-folders, on the host side, for the tree
# expansion tests. Usage: make_folder_of_files.sh <folder> <count> [folders]. Without [folders]
# the sub-folders are x, y and z; with it they are d000, d001, ... and every tenth of them has a
# folder "inner" of its own, so expand buttons are shown for some and not for others. Does nothing
# when the folder is complete already.
set -euo pipefail
folder=$1
count=$2
folders=${3:-}
last=$(printf 'rom%05d.zip' $((count - 1)))
if [ -z "$folders" ]; then
  [ -f "$folder/$last" ] && [ -d "$folder/z" ] && exit 0
  mkdir -p "$folder/x" "$folder/y" "$folder/z"
else
  [ -f "$folder/$last" ] && [ -d "$folder/$(printf 'd%03d' $((folders - 1)))" ] && exit 0
  for ((i = 0; i < folders; i++)); do
    mkdir -p "$folder/$(printf 'd%03d' "$i")"
    if ((i % 10 == 0)); then mkdir -p "$folder/$(printf 'd%03d' "$i")/inner"; fi
  done
fi
cd "$folder"
seq -f 'rom%05g.zip' 0 $((count - 1)) | xargs touch
