#!/usr/bin/env bash
# Sets up and builds, then runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
ctest --preset default "$@"
