#!/bin/sh
# Installs the Debian packages that building, running and testing ORVALDIS need.
# Only the missing ones are installed; nothing happens when all are present.
set -e
PACKAGES="cmake make g++ pkg-config qt6-base-dev qt6-translations-l10n libgl-dev libbenchmark-dev fonts-dejavu-core fonts-liberation2 xdg-utils qt6-pdf-dev libxlsxwriter-dev xlsx2csv qt6-webengine-dev"
# "fuzz": what the fuzz targets need besides.
[ "$1" = "fuzz" ] && PACKAGES="clang libclang-rt-14-dev"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing
