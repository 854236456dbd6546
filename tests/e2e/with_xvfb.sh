#!/bin/sh
# with_xvfb.sh SCREEN COMMAND [ARGS...]: runs COMMAND with DISPLAY set to an Xvfb of its
# own, which ends with it; COMMAND's exit status is this script's. Used instead of
# xvfb-run -a, which picks a display by looking for lock files and so can pick the one
# another test is starting at the same moment.
set -eu
screen=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
. "$here/xvfb.sh"
start_xvfb "$work" "$screen"
status=0
"$@" || status=$?
cleanup
rm -rf "$work"
exit $status
