#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing
# (the mingw-w64 cross compiler and wine for the Windows build and its tests).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  qt6-base-dev
  # The desktop program: Qt's own texts in the four languages, fonts for the
  # screenshots (Japanese included), an X server for the start test and the
  # .desktop entry check.
  qt6-translations-l10n fonts-dejavu-core fonts-noto-cjk
  xvfb xauth desktop-file-utils libxcb1-dev
  g++-mingw-w64-x86-64-posix wine wine64
  # The Windows program: its icon, its installer, wine's own fonts (Tahoma)
  # for its dialogs, and xwininfo to see the installed program's window.
  icoutils nsis fonts-wine x11-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
