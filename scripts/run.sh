#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with the sample catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/bin/SRC_Okv "$@"
