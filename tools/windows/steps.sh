# shellcheck shell=bash
# shellcheck disable=SC2154 # me and log: the sourcing script sets them
# Sourced by the Windows build's scripts: each step says once what it does,
# its output goes to $log, and a step still running after half a minute says
# how far it is every half minute; a failed one shows the end of the log.
# The script sets `log` and `me` (its name, to lead each line) first.

step() { # description, then the command (set -e stops nothing in it: chain with &&)
  echo "$me: $1"
  local started=$SECONDS said=$SECONDS status=0 pid percent first
  first=$(($(wc -l <"$log") + 1)) # this step's lines start here
  "${@:2}" >>"$log" 2>&1 &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    sleep 1
    if [ $((SECONDS - said)) -ge 30 ] && kill -0 "$pid" 2>/dev/null; then
      said=$SECONDS
      # The last "[ 42%]" of CMake's build, where there is one.
      percent=$(tail -n +"$first" "$log" | grep -o '^\[ *[0-9]*%\]' | tail -n 1 | tr -d '[] ' || true)
      echo "$me:   ... $((SECONDS - started)) s${percent:+, $percent of this build}"
    fi
  done
  wait "$pid" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "$me: that failed; the full log is $log" >&2
    grep -E "error|Error" "$log" | tail -n 15 >&2 || tail -n 15 "$log" >&2
    exit 1
  fi
}

