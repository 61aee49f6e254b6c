#!/usr/bin/env bash
# Installs what the builds and tests need on a fresh Debian machine (as root); does
# nothing for packages that are already there.
set -euo pipefail

# The fuzz targets need clang, its libFuzzer and sanitizer runtimes (only recommended by clang,
# so named here) and llvm-symbolizer for readable findings.
packages=(cmake make g++ googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
          g++-mingw-w64-i686 wine wine32:i386 wine64 xvfb xauth imagemagick locales genisoimage
          xdotool xclip x11-utils fonts-wine fonts-liberation fonts-comic-neue
          clang libclang-rt-14-dev llvm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then echo "need root to install packages" >&2; exit 1; fi
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# German user language for the Wine checks of the language choice.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'; then
  if [ "$(id -u)" -eq 0 ]; then
    sed -i 's/^# *de_DE.UTF-8/de_DE.UTF-8/; s/^# *de_CH.UTF-8/de_CH.UTF-8/; s/^# *fr_FR.UTF-8/fr_FR.UTF-8/' /etc/locale.gen
    locale-gen >/dev/null
  fi
fi
