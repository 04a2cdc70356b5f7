#!/usr/bin/env bash
# Builds everything and runs every test: the house style, the layers, the native build under sanitizers,
# a short run of every fuzz target, the engine's release build, and the Windows build under
# Wine on its own display, the native and Windows tests beside a PostgreSQL server of their own; every warning is an error. Installs whatever is missing first.
# Exits non-zero on any failure, and when the run changed a file of the checkout.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

failed=()
stage() {
  local name=$1; shift
  echo "==> $name"
  if ! "$@"; then failed+=("$name"); fi
}

# The engine's runs into a database server go to a throw-away PostgreSQL
# that lives as long as the stage's tests; they fail, not skip, without it.
export VELMORA_REQUIRE_SERVER=1
native() {
  cmake --preset native >/dev/null && cmake --build --preset native && scripts/with-postgres.sh ctest --preset native
}

# The engine as built for batch use on Linux: optimised, no sanitizers.
release() {
  cmake --preset release >/dev/null && cmake --build --preset release &&
    build/release/engine/ParseTarn --version >/dev/null
}

# Wine 8 on Debian 12's C library now and then aborts a process in the
# dynamic loader as it starts or ends ("Inconsistency detected by ld.so:
# dl-fini.c"), after the test itself has passed. A test failing that way
# passes when run again; a real fault fails every time, so each failed test
# gets two more runs and every attempt's output stays in the log.
# The Windows build is signed as a release is, with a throw-away certificate
# made once under build/signing; a test verifies every signature.
windows() {
  scripts/make-test-certificate.sh build/signing &&
    VELMORA_SIGN_PFX="$PWD/build/signing/test-signing.pfx" VELMORA_SIGN_PASSWORD_FILE="$PWD/build/signing/password" \
      cmake --preset windows >/dev/null && cmake --build --preset windows &&
    scripts/with-postgres.sh scripts/with-wine.sh ctest --preset windows --repeat until-pass:3
}

# A test run must leave the checkout as it found it (screenshots, corpora and
# scratch files all belong under build/).
checkout_state() { { git status --porcelain; git diff HEAD; } | sha256sum; }
before=$(checkout_state)
checkout_unchanged() {
  [ "$(checkout_state)" = "$before" ] && return 0
  echo "The run changed files in the checkout:"
  git status --short
  return 1
}

stage "house style (clang-format)" scripts/check-format.sh
stage "layers (who may include whom)" scripts/check-layers.py
stage "native build and tests" native
# A short run of every fuzz target; longer runs are for developers.
stage "fuzzing" scripts/fuzz.sh "${VELMORA_FUZZ_SECONDS:-20}"
stage "release build of the engine" release
stage "windows build and tests under Wine" windows
stage "checkout unchanged by the run" checkout_unchanged

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All builds and tests passed."
