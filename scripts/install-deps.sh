#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (when missing).
set -euo pipefail
# clang and its runtime libraries build the fuzz programs (libFuzzer).
packages=(cmake g++ gfortran make libgtest-dev libgmock-dev libbenchmark-dev binutils
          clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=""
  [[ $(id -u) -ne 0 ]] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
