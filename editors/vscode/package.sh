#!/usr/bin/env bash
# Builds the VS Code extension: installs its npm packages as package-lock.json
# pins them, compiles it, runs its test (the activation against a stub of the
# editor's API) and packages it as kvnode-VERSION.vsix in this folder.
# Needs Node 20 or later and npm (Debian: nodejs, npm) and the npm registry.
set -euo pipefail
cd "$(dirname "$0")"
if [ -f package-lock.json ]; then npm ci --no-audit --no-fund; else npm install --no-audit --no-fund; fi
npm run compile
npm test
# the extension is MIT licensed as the project is: vsce wants the text beside it
cp ../../LICENSE LICENSE
trap 'rm -f LICENSE' EXIT
npx vsce package --allow-missing-repository
ls -l ./*.vsix
