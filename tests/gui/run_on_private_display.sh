#!/usr/bin/env bash
# Runs a Windows program of the build tree under Wine on a headless X server of its own, so the
# window tests need no desktop and never disturb one. Usage: run_on_private_display.sh <wine-run>
# <program> [arguments]
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"
