#!/usr/bin/env bash
# Installs what the build needs (Debian 12, as root), configures and builds.
set -euo pipefail
cd "$(dirname "$0")/.."

paquetes=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libsqlite3-dev sqlite3 libxlsxwriter-dev libminizip-dev libexpat1-dev python3-openpyxl googletest libgtest-dev libbenchmark-dev
          fonts-liberation fonts-liberation2 fonts-dejavu-core fonts-wine qt6-translations-l10n poppler-utils xauth xvfb locales
          dpkg-dev file desktop-file-utils appstream
          libpq-dev postgresql)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi

# The tests run under these locales as well as C.UTF-8.
for loc in es_ES.UTF-8 de_CH.UTF-8; do
  if ! locale -a 2>/dev/null | grep -qix "${loc/UTF-8/utf8}"; then
    sed -i "s/^# *\(${loc} UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${loc} UTF-8" /etc/locale.gen || echo "${loc} UTF-8" >> /etc/locale.gen
    locale-gen > /dev/null
  fi
done

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)"
