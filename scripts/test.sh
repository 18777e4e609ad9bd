#!/bin/sh
# Installs dependencies, builds, and runs every test (core and GUI, offscreen).
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
