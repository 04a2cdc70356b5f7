#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# Recommended packages come too: the "wine" launcher is one of wine64's.
set -euo pipefail
packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev googletest libgtest-dev sqlite3
          mingw-w64 wine wine64 fonts-wine xvfb xauth nsis
          postgresql odbc-postgresql unixodbc unixodbc-dev
          wixl msitools osslsigncode openssl libxml2-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# npm fetches the SQLite amalgamation every build compiles; any npm will do.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
