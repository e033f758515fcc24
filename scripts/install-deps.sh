#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing,
# and the German locale the number-parsing tests switch to.
set -euo pipefail
packages=(cmake ninja-build g++ ccache qt6-base-dev qt6-translations-l10n libgtest-dev libbenchmark-dev
          locales libpugixml-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# Users run the program in a German locale; the tests check that it does not
# change how numbers are read.
if ! locale -a 2>/dev/null | grep -qiE '^de_DE\.utf-?8$'; then
  echo "Generating locale: de_DE.UTF-8"
  if grep -qE '^#? *de_DE\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    $sudo sed -i -E 's/^# *(de_DE\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  else
    echo "de_DE.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen
fi
