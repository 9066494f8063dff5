#!/usr/bin/env bash
# Compiles a Unix locale from Debian's `locales` sources into a folder of the build, for
# LOCPATH: the system's own locale archive is left alone and no root is needed.
# Usage: make-locale.sh NAME.CHARSET DIR    (for example ja_JP.UTF-8 build/locale)
set -euo pipefail
name=$1
dir=$2
[ -f "$dir/$name/LC_CTYPE" ] && exit 0
mkdir -p "$dir"
localedef -i "${name%%.*}" -f "${name#*.}" "$dir/$name"
