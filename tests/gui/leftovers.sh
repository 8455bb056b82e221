#!/usr/bin/env bash
# Finds programs that the GUI tests started and left running: any process
# whose command line or environment holds one of the marks given, such as
# the name of a test's working folder. A helper started through a shell
# function in the background lives on when the cleanup kills the function's
# subshell instead, and such orphans pile up with every run.
#   leftovers.sh record FILE MARK...   notes those running now, before the tests
#   leftovers.sh check FILE MARK...    fails if any other is running, after them
# Those noted before are left out of the check: an earlier run may have left
# them.
set -uo pipefail

(($# >= 3)) || { echo "usage: $0 record|check FILE MARK..." >&2; exit 2; }
mode=$1 noted=$2
shift 2
marks=()
for mark; do marks+=(-e "$mark"); done

# The ids of the processes, other than this script and its subshell, that
# hold a mark (the marks stand in their command lines).
marked_processes() {
  local dir pid
  for dir in /proc/[0-9]*; do
    pid=${dir#/proc/}
    ((pid == $$ || pid == BASHPID)) && continue
    if grep -qaF "${marks[@]}" "$dir/cmdline" "$dir/environ" 2>/dev/null; then echo "$pid"; fi
  done
}

case $mode in
  record) marked_processes >"$noted" ;;
  check)
    status=0
    for pid in $(marked_processes); do
      grep -qx "$pid" "$noted" && continue
      echo "left running: $pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
      status=1
    done
    exit $status
    ;;
  *) echo "usage: $0 record|check FILE MARK..." >&2; exit 2 ;;
esac
