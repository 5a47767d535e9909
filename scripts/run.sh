#!/usr/bin/env bash
# Sets up what is missing, builds, and starts the tester.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec build/src/app/kvtester
