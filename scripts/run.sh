#!/bin/sh
# Installs dependencies, builds, and starts Punchbook from the build folder
# (the program folder, where its data files live).
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -x build/punchbook ]; then
    exec build/punchbook "$@"
fi
echo "Built. The punchbook program itself is not part of this build yet."
