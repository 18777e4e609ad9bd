#!/bin/sh
# Builds the Debian package punchbook_<version>_<arch>.deb into the repository's
# folder (Debian 12, as root), then lets lintian look at it.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh lintian
scripts/build.sh
rm -rf build/package
cpack --config build/CPackConfig.cmake -B build/package
rm -f punchbook_*.deb
mv build/package/punchbook_*.deb .
deb=$(ls punchbook_*.deb)
echo "Built $deb"
lintian --fail-on error "$deb"
