#!/bin/sh
# to-cp932.sh IN OUT: a UTF-8 text file as code page 932 with CRLF line ends.
set -e
sed 's/\r$//; s/$/\r/' "$1" | iconv -f UTF-8 -t CP932 >"$2.tmp"
mv "$2.tmp" "$2"
