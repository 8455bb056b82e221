#!/usr/bin/env bash
# Finds programs that the GUI tests started and left running: any process
# whose command line or environment names a test's working folder. A helper
# started through a shell function in the background lives on when the
# cleanup kills the function's subshell instead, and such orphans pile up
# with every run.
#   leftovers.sh record FILE   notes those running now, before the tests
#   leftovers.sh check FILE    fails if any other is running, after them
# Those noted before are left out of the check: an earlier run, or another
# checkout's tests, may have left them.
set -uo pipefail

readonly FOLDER_MARK=/inkpane-gui.

# The ids of the processes, other than this script, that name a working folder.
tests_processes() {
  local dir pid
  for dir in /proc/[0-9]*; do
    pid=${dir#/proc/}
    ((pid == $$)) && continue
    if grep -qaF "$FOLDER_MARK" "$dir/cmdline" "$dir/environ" 2>/dev/null; then echo "$pid"; fi
  done
}

case ${1:-} in
  record) tests_processes >"$2" ;;
  check)
    status=0
    for pid in $(tests_processes); do
      grep -qx "$pid" "$2" && continue
      echo "left running: $pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
      status=1
    done
    exit $status
    ;;
  *) echo "usage: $0 record|check FILE" >&2; exit 2 ;;
esac
