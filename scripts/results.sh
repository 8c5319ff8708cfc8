#!/usr/bin/env bash
# The maker's one command: installs what tarvolo-results needs on Debian 12
# (apt-get, so root on a fresh machine), builds it without sanitizers in
# build/bench and runs it on the given reports, from the folder it was called in:
#   scripts/results.sh [-o DIR] FILE_OR_FOLDER...
# The arguments are the tool's own (tarvolo-results --help).
set -euo pipefail
called_in=$PWD
cd "$(dirname "$0")/.."
source scripts/lib.sh

# The compiler and the build tools; GMime, libxml2, ICU and libmagic, with which
# the tool reads mail, decodes its charsets, tells attachments by their bytes and
# compares names; googletest, which configuring the tree asks for.
install_missing_packages cmake ninja-build g++ pkg-config \
  libgmime-3.0-dev libxml2-dev libicu-dev libmagic-dev googletest

mkdir -p build
log=build/results-build.log
if ! { configure_tree bench && cmake --build --preset bench --target tarvolo-results; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "results: building tarvolo-results failed (log above, also in $log)" >&2
  exit 1
fi
program=$PWD/build/bench/tarvolo-results
cd "$called_in"
exec "$program" "$@"
