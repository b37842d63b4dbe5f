#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Shows the programs only the fonts that scripts/install-deps.sh installs,
# as a fresh Debian 12 machine has them: writes a fontconfig configuration
# into FOLDER and prints the one line that uses it,
#
#   export FONTCONFIG_FILE=FOLDER/fonts.conf
#
# so that  eval "$(sh tests/support/project-fonts.sh FOLDER)"  makes what
# runs afterwards (the tests, CI) find no face that some other package
# happens to have installed on this machine.  The configuration is the
# machine's own (its rules, such as "Arial" for Liberation Sans, its font
# folders and caches) with every font file refused but those, in the
# system's font folders, of the fonts-* packages that install-deps.sh
# names.  Fonts outside those folders (fonts-wine's) are not fontconfig's
# on a fresh machine either: the programs load them from their files.
set -eu

dir=${1:?"usage: project-fonts.sh FOLDER"}
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

packages=$(grep -o 'fonts-[a-z0-9.+-]*' "$root/scripts/install-deps.sh" | sort -u)
[ -n "$packages" ] || { echo "project-fonts.sh: install-deps.sh names no font package" >&2; exit 1; }
accept=""
for p in $packages; do
  files=$(dpkg-query -L "$p" 2>/dev/null) || {
    echo "project-fonts.sh: $p is not installed (bash scripts/install-deps.sh)" >&2
    exit 1
  }
  for f in $files; do
    case "$f" in
      /usr/share/fonts/*|/usr/local/share/fonts/*) ;;
      *) continue ;;
    esac
    [ -f "$f" ] || continue
    accept="$accept      <glob>$f</glob>
"
  done
done

# The machine's own configuration, folders and caches, so that the fonts
# are where a fresh machine has them (the order fontconfig lists them in,
# which decides between two files of one face, follows their names); of
# their files only those of the packages are accepted.
cat > "$dir/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <selectfont>
    <rejectfont>
      <!-- Font files, by their endings (a folder must not be refused:
           its fonts would not be read at all). -->
      <glob>*.ttf</glob> <glob>*.TTF</glob> <glob>*.ttc</glob> <glob>*.otf</glob> <glob>*.otc</glob>
      <glob>*.pfb</glob> <glob>*.pfa</glob> <glob>*.t1</glob> <glob>*.cff</glob> <glob>*.dfont</glob>
      <glob>*.pcf</glob> <glob>*.pcf.gz</glob> <glob>*.pcf.Z</glob> <glob>*.bdf</glob> <glob>*.bdf.gz</glob>
      <glob>*.fon</glob> <glob>*.fnt</glob> <glob>*.woff</glob> <glob>*.woff2</glob>
    </rejectfont>
    <acceptfont>
$accept    </acceptfont>
  </selectfont>
</fontconfig>
CONF
echo "export FONTCONFIG_FILE=$dir/fonts.conf"
