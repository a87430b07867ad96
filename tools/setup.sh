#!/usr/bin/env bash
# Installs, with apt-get, only what this machine is missing for building, testing and benchmarking.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix   # the cross compiler (posix threads)
  wine wine64                  # runs ruvo.exe and the Windows tests
  xvfb xauth                   # one virtual display for the whole test run
  locales                      # ja_JP.UTF-8 gives Wine code page 932
  fonts-ipafont-gothic         # a Japanese font for the UI under Wine
  cmake make g++ googletest    # native build and the test framework sources
  clang libclang-rt-dev        # the fuzz target: libFuzzer and the sanitizer runtimes
  zlib1g-dev libssl-dev        # benchmarks only: reference CRC-32 and MD5
  rhash                        # benchmarks only: native CRC-32 reference
  zip unzip                    # make dist packs the release, CI unpacks and checks it
  b3sum                        # tests and benchmarks: the BLAKE3 reference
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating ja_JP.UTF-8"
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
