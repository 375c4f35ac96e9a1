#!/usr/bin/env bash
# Installs the Debian packages Kelmora builds, runs and tests with: only those missing.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config          # the build
  libssl-dev openssl                         # TLS to recorders; openssl s_server in tests
  qt6-base-dev libgl-dev fonts-nanum         # the desktop program and Korean glyphs
  libgtest-dev libgmock-dev                  # tests
  clang-14 libclang-rt-14-dev                # fuzz targets (libFuzzer) and sanitizer runtimes
  libbenchmark-dev libpugixml-dev libcurl4-openssl-dev  # benchmarks and their peers
  libexpat1-dev                              # the XML differential test's reference parser
  iproute2 nftables                          # network namespaces for unreachable-host tests
  locales                                    # date-order tests build their own locales
  xvfb xauth                                 # xvfb-run: the desktop program on a virtual display
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
