#!/usr/bin/env bash
# Installs whatever the build needs and is missing (Debian or Ubuntu, apt-get).
# Usage: tools/setup.sh [--tests] [extra-package ...]
#   --tests  also what the test suite needs: GoogleTest, and for the end-to-end tests python3,
#            a virtual X server (with xvfb-run and xauth) and xdotool.
set -euo pipefail

packages=(build-essential cmake pkg-config libsdl-image1.2-dev libsdl-ttf2.0-dev)
for arg in "$@"; do
  case "$arg" in
    --tests) packages+=(libgtest-dev python3 xvfb xauth xdotool) ;;
    *) packages+=("$arg") ;;
  esac
done

# SDL 1.2: the maintained compat layer where the distribution has it, else the classic one.
if apt-cache show libsdl1.2-compat-dev >/dev/null 2>&1 || dpkg -s libsdl1.2-compat-dev >/dev/null 2>&1; then
  packages+=(libsdl1.2-compat-dev)
else
  packages+=(libsdl1.2-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
