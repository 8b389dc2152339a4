#!/bin/sh
# Installs the Debian packages named on the command line that are missing.
# As root it runs apt-get; otherwise it prints the exact command and fails.
set -eu
missing=""
for pkg in "$@"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $pkg" ;;
  esac
done
[ -z "$missing" ] && exit 0
line="apt-get install -y$missing"
if [ "$(id -u)" -ne 0 ]; then
  echo "These Debian packages are missing:$missing" >&2
  echo "Install them as root, then run make again:" >&2
  echo "  sudo apt-get update && sudo $line" >&2
  exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq $missing
