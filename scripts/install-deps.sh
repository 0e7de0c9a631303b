#!/usr/bin/env bash
# Installs everything the program, its tests and its benchmarks need on Debian 12 (as root).
set -euo pipefail
packages=(
    build-essential cmake pkg-config git
    libgtest-dev
    libmariadb-dev mariadb-server mariadb-client
    galera-4 rsync
    unixodbc unixodbc-dev libsqliteodbc libsqlite3-dev sqlite3
    tmux
    cups-client poppler-utils
    libcups2-dev zlib1g-dev
    libshp-dev
    libinih-dev
    cups-daemon cups-core-drivers
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
