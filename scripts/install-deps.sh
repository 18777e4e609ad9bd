#!/bin/sh
# Installs what Punchbook needs to build, run and test on Debian 12.
# Quick when everything is already there: apt is only called for missing packages.
# The print system (cups and a PDF printer) serves the printing tests, which start
# a daemon of their own and never use the machine's printers. The install test
# checks the desktop entry, the metainfo and the man pages with their tools, and
# the running window's class and desktop file name with xprop (x11-utils). The
# share tests start a Samba and an SSH server of their own and mount them through
# FUSE (smbnetfs, sshfs) in namespaces of their own (iproute2 for the loopback).
# Extra package names may be given as arguments (scripts/package.sh adds lintian).
set -e
PACKAGES="build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  fonts-ipafont fonts-noto-cjk xvfb xauth xdotool imagemagick poppler-utils
  libcups2-dev libqt6printsupport6 cups cups-client printer-driver-cups-pdf ghostscript
  strace desktop-file-utils appstream man-db dpkg-dev x11-utils
  samba smbnetfs sshfs openssh-server openssh-client fuse3 iproute2 $*"
missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    # shellcheck disable=SC2086
    apt-get install -y --no-install-recommends $missing
fi
