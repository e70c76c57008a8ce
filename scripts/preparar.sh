#!/usr/bin/env bash
# Installs what the build needs (Debian 12, as root), configures and builds.
set -euo pipefail
cd "$(dirname "$0")/.."

paquetes=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libsqlite3-dev sqlite3 googletest libgtest-dev libbenchmark-dev
          fonts-liberation fonts-liberation2 fonts-dejavu-core fonts-wine qt6-translations-l10n poppler-utils xauth xvfb)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)"
