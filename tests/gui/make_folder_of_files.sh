#!/usr/bin/env bash
# Makes a folder of many empty ROM files and three sub-folders x, y, z, on the host side, for the
# tree expansion test. Usage: make_folder_of_files.sh <folder> <count>. Does nothing when the
# folder is complete already.
set -euo pipefail
folder=$1
count=$2
last=$(printf 'rom%05d.zip' $((count - 1)))
[ -f "$folder/$last" ] && [ -d "$folder/z" ] && exit 0
mkdir -p "$folder/x" "$folder/y" "$folder/z"
cd "$folder"
seq -f 'rom%05g.zip' 0 $((count - 1)) | xargs touch
