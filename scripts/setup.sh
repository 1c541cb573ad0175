#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.txt that are not installed yet.
# Idempotent; runs `apt-get update` at most once; works as root and through sudo.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

mapfile -t wanted < <(sed 's/#.*//' "$here/packages.txt" | tr -s ' \t' '\n' | sed '/^$/d')
# Names that installed packages provide count as installed: a Node.js build that bundles npm
# provides "npm" and conflicts with Debian's package of that name.
provided=$(dpkg-query -W -f='${Status}|${Provides}\n' 2>/dev/null | sed -n 's/^install ok installed|//p' |
           tr ',' '\n' | sed 's/(.*)//; s/[[:space:]]//g' | sed '/^$/d')
missing=()
for pkg in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' &&
     ! grep -qxF "$pkg" <<<"$provided"; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
echo "setup: installing ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
