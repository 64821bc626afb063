#!/bin/sh
# Installs the Debian packages the build needs, when they are missing.
set -e
packages="cmake g++ make ccache qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n libqt6svg6 valgrind postgresql libqt6sql6-sqlite libqt6sql6-psql libsqlite3-dev libpq-dev libexpat1-dev libmimalloc-dev"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or with sudo) to install the missing packages." >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi
