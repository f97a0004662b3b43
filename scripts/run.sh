#!/usr/bin/env bash
# Set-up, build and start Harlune. Without arguments it uses the per-user program folder
# (~/.local/share/Harlune), which is created with its subfolders on the first start.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target harlune harlune-cli
exec build/src/harlune "$@"
