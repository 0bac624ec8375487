#!/usr/bin/env bash
# Installs what building and testing Morrowick needs on a Debian machine.
# Idempotent: it checks first and does nothing when everything is there.
set -euo pipefail

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

need_pkgs=(g++-mingw-w64-i686-posix mingw-w64-i686-dev wine wine32:i386 wine64
           xvfb xdotool fonts-wqy-zenhei fonts-wine imagemagick locales fp-utils zip unzip
           cmake g++ clang libgtest-dev googletest)

missing=()
for p in "${need_pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating zh_CN.UTF-8"
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
exit 0
