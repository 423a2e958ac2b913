# Condition waits shared by the end-to-end scripts (sourced).

# wait_for <seconds> <command...>: polls the condition every 0.1 s; false on time-out.
wait_for() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  while ! "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}

# has_line FILE PATTERN: the file exists and has a line matching PATTERN.
has_line() { grep -q -- "$2" "$1" 2>/dev/null; }
