#!/usr/bin/env bash
# Installs everything the project needs on a Debian 12 machine. Idempotent: when
# everything is present it only checks and returns within seconds.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev
  g++-mingw-w64-i686-posix mingw-w64-i686-dev
  wine wine32:i386
  locales xvfb xdotool x11-utils fonts-wqy-microhei imagemagick zip
)

sudo_if_needed() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_if_needed dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_if_needed apt-get update -qq
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif [ "${need_update:-0}" = 1 ]; then
  sudo_if_needed apt-get update -qq
fi

# Wine picks the ANSI code page from the locale; zh_CN.UTF-8 gives code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating zh_CN.UTF-8"
  sudo_if_needed sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | sudo_if_needed tee -a /etc/locale.gen >/dev/null
  sudo_if_needed locale-gen >/dev/null
fi
echo "setup: all present"
