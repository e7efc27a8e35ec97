#!/usr/bin/env bash
# Runs one cross-built Qt Test suite under wine: CTest's emulator in the
# Windows test build of scripts/windows.sh. Wine loses what a Windows program
# leaves in a pipe's buffer at exit, so the report goes to a file, shown after.
set -u
report=$(mktemp --suffix=.txt)
wine "$@" -o "$report,txt"
status=$?
cat "$report"
rm -f "$report"
exit "$status"
