#!/usr/bin/env bash
# Installs what building, running and testing the tool needs, from Debian's
# package archive. Does nothing when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev libgl-dev libudev-dev libqcustomplot-dev
  libqt6gui6 libjpeg62-turbo
  libgtest-dev libbenchmark-dev
  locales fonts-dejavu-core xdg-utils xvfb xauth
  desktop-file-utils appstream
)

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_if_needed apt-get update -q
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

# The tests prove that decimal texts keep "." under a comma-decimal locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo_if_needed sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | sudo_if_needed tee -a /etc/locale.gen >/dev/null
  sudo_if_needed locale-gen
fi
