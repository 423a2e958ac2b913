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

# wait_match <seconds> <regex> <command...>: runs the command every 0.1 s until its output matches
# the extended regex (anchor it with ^ and $ for the whole output). The output it last compared is in WAIT_VALUE either way, so a check
# reports the value it decided on instead of reading a changing text a second time.
wait_match() {
  local limit=$1 pattern=$2; shift 2
  local end=$((SECONDS + limit))
  while :; do
    WAIT_VALUE=$("$@" 2>/dev/null)
    [[ "$WAIT_VALUE" =~ $pattern ]] && return 0
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}

# wait_equal <seconds> <text> <command...>: the same for an exact text.
wait_equal() {
  local limit=$1 text=$2; shift 2
  local end=$((SECONDS + limit))
  while :; do
    WAIT_VALUE=$("$@" 2>/dev/null)
    [ "$WAIT_VALUE" = "$text" ] && return 0
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}

# holds <seconds> <text> <command...>: the output stays <text> for the whole time (a state that
# must not change, such as a status a timer must not overwrite); false as soon as it differs, with
# the differing value in WAIT_VALUE.
holds() {
  local limit=$1 text=$2; shift 2
  local end=$((SECONDS + limit))
  while :; do
    WAIT_VALUE=$("$@" 2>/dev/null)
    [ "$WAIT_VALUE" = "$text" ] || return 1
    [ $SECONDS -ge $end ] && return 0
    sleep 0.1
  done
}
