#!/usr/bin/env bash
# Makes a throw-away code-signing certificate for the test command's signed
# Windows build, once: FOLDER/test-signing.pfx (PKCS#12) and FOLDER/password,
# the file holding its password (random, never printed). Usage:
#   scripts/make-test-certificate.sh FOLDER
set -euo pipefail
folder=${1:?usage: make-test-certificate.sh FOLDER}
[ -f "$folder/test-signing.pfx" ] && [ -f "$folder/password" ] && exit 0
mkdir -p "$folder"
umask 077
key=$(mktemp)
trap 'rm -f "$key" "$key.pem"' EXIT
openssl rand -hex 24 >"$folder/password"
openssl req -x509 -newkey rsa:2048 -sha256 -days 3650 -nodes -keyout "$key" -out "$key.pem" \
  -subj "/CN=Velmora Data Parser test signing" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
openssl pkcs12 -export -inkey "$key" -in "$key.pem" -out "$folder/test-signing.pfx" \
  -passout "file:$folder/password"
