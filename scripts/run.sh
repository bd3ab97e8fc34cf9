#!/usr/bin/env bash
# Installs what is missing, builds the program (not the tests and benchmarks)
# and opens its main window with the sample catalogue. Arguments go to the
# program: a project file to open.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh SRC_Okv
exec build/bin/SRC_Okv "$@"
