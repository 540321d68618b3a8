#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing), on a
# Debian 12 that may have nothing but apt: as root directly, otherwise with
# sudo. .ci/fresh_machine_check.sh proves this list on a brand-new root.
set -euo pipefail
packages=(
  # the build: compilers, CMake and Ninja
  build-essential cmake ninja-build
  # libraries: the window, the authors' tool, the tests and the benchmarks
  libfltk1.3-dev libx11-dev libcli11-dev nlohmann-json3-dev libgtest-dev libgmock-dev
  libbenchmark-dev
  # the window tests' virtual X server (xvfb-run needs xauth); rsvg-convert
  # checks that the drawn route is a valid picture
  xvfb xauth librsvg2-bin
  # the fuzzers: clang with its libFuzzer and sanitizer run-times
  clang libclang-rt-dev
  # bench/run.sh measures peak memory with /usr/bin/time
  time
  # the editor integration tests: Vim's quickfix and Neovim's LSP client
  vim neovim
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
((${#missing[@]})) || exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "setup.sh: these packages are missing: ${missing[*]}" >&2
    echo "setup.sh: run ./setup.sh as root (sudo is not installed) to install them" >&2
    exit 1
  fi
  sudo=(sudo)
fi
echo "installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
