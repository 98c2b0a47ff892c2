#!/bin/sh
# Usage: install-packages.sh PACKAGE...
# Installs the given Debian packages, or brings them up to date, so that
# builds and tests run against today's packages (an expat update once
# changed how the XML reader sees fed input). The package lists are
# refreshed when they are a day old, or always with OKU_APT_UPDATE set.
# Needs: root or sudo.
set -eu
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
lists_age=$(( $(date +%s) - $(stat -c %Y /var/lib/apt/lists 2>/dev/null || echo 0) ))
if [ "$lists_age" -gt 86400 ] || [ -n "${OKU_APT_UPDATE:-}" ]; then
    $sudo apt-get update -qq
fi
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$@" >/dev/null
