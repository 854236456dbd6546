#!/bin/sh
# The manual page and the program agree: the page describes exactly the long options
# `solmar --help` lists, and names the version `solmar --version` reports.
# Usage: check_manual.sh SOLMAR MANUAL_PAGE
set -eu
solmar=$1
manual=$2
help_options=$("$solmar" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
manual_options=$(grep -o -- '\\-\\-[a-z][a-z-]*' "$manual" | sed 's/\\-/-/g' | sort -u)
status=0
for option in $help_options; do
  echo "$manual_options" | grep -qx -- "$option" || { echo "the manual page lacks $option" >&2; status=1; }
done
for option in $manual_options; do
  echo "$help_options" | grep -qx -- "$option" || { echo "the manual page describes $option, which --help does not list" >&2; status=1; }
done
version=$("$solmar" --version | sed 's/^Solmar //')
grep -q "^\.TH SOLMAR 1 .*\"Solmar $version\"" "$manual" || { echo "the manual page is not of version $version" >&2; status=1; }
exit $status
