#!/bin/sh
# Runs a test command with a folder it cannot write, holding copies of the given files under the
# given names; the command sees the folder's Unix path as QUILLON_READ_ONLY_FOLDER. Folders above
# it are made as needed and stay writable.
#   read-only-folder.sh <folder> <name>=<file>... -- <command> [arguments]
# Wine takes a folder's write permission from Unix, and root may write anywhere: run as root,
# the command runs without the capabilities that override file permissions.
folder=$1
shift
chmod -R u+w "$folder" 2>/dev/null
rm -rf "$folder"
mkdir -p "$folder" || exit 1
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    cp "${1#*=}" "$folder/${1%%=*}" || exit 1
    shift
done
shift
chmod 555 "$folder"
export QUILLON_READ_ONLY_FOLDER="$folder"
if [ "$(id -u)" = 0 ]; then
    caps=-dac_override,-dac_read_search
    setpriv --inh-caps=$caps --bounding-set=$caps "$@"
else
    "$@"
fi
status=$?
chmod -R u+w "$folder"
rm -rf "$folder"
exit $status
