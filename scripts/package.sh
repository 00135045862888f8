#!/usr/bin/env bash
# Sets up, builds and makes the Debian package build/dupliora_VERSION_ARCH.deb;
# install it with: sudo apt-get install ./build/dupliora_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
(cd build && cpack -G DEB)
ls build/dupliora_*.deb
