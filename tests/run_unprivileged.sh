#!/bin/sh
# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs test functions of a test program as an unprivileged user: root ignores permission bits,
# so read-only cases would only skip. Started by a user already, it runs them as that user.
# A skipped function fails here, since these cases exist to run.
#   run_unprivileged.sh PROGRAM FUNCTION...
set -eu
program=$1
shift
if [ "$(id -u)" = 0 ]; then
  # A private copy in a directory the user may enter: the build tree may be closed to it.
  dir=$(mktemp -d)
  trap 'rm -rf "$dir"' EXIT
  cp "$program" "$dir/"
  chown -R 65534:65534 "$dir"
  chmod 755 "$dir"
  set -- setpriv --reuid=65534 --regid=65534 --clear-groups \
    env HOME="$dir" TMPDIR="$dir" XDG_RUNTIME_DIR="$dir" "$dir/$(basename "$program")" "$@"
else
  set -- "$program" "$@"
fi
output=$("$@" 2>&1) || { echo "$output"; exit 1; }
echo "$output"
if echo "$output" | grep -q '^SKIP'; then exit 1; fi
