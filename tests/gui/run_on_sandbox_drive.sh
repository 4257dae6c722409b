#!/usr/bin/env bash
# Gives a Windows test a drive of its own: drive <letter> of the build tree's Wine prefix is linked
# to <folder>, emptied first, and the test runs with VX_SANDBOX_FOLDER naming that folder. A program
# started from that drive finds the top of its current drive ("\QUELBRINOUTPUT", "\*.*") there.
# Usage: run_on_sandbox_drive.sh <wine-run> <wine prefix> <letter> <folder> <program> [arguments]
set -euo pipefail
wine_run=$1 prefix=$2 letter=$3 folder=$4
shift 4
case "$folder" in
  "" | / | /work | /work/main) echo "run_on_sandbox_drive: refusing folder '$folder'" >&2; exit 2 ;;
esac
rm -rf "$folder"
mkdir -p "$folder"
folder=$(readlink -f "$folder")
[ -d "$prefix/dosdevices" ] || "$wine_run" cmd /c exit >/dev/null 2>&1 || true
drive="$prefix/dosdevices/$letter:"
if [ -e "$drive" ] && [ ! -L "$drive" ]; then
  echo "run_on_sandbox_drive: $drive exists and is not a link; leaving it alone" >&2
  exit 2
fi
ln -sfn "$folder" "$drive"
export VX_SANDBOX_FOLDER="$folder"
exec "$wine_run" "$@"
