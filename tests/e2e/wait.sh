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

# poll_value <seconds> <mode> <value> <command...>: runs the command every 0.1 s and compares its
# output with <value>. The output it last compared is in WAIT_VALUE either way, so a check reports
# the value it decided on instead of reading a changing text a second time. Modes:
#   match  true as soon as the output matches the extended regex (anchor it with ^ and $)
#   equal  true as soon as the output is exactly the text
#   holds  the output stays exactly the text for the whole time (a state that must not change,
#          such as a status a timer must not overwrite); false as soon as it differs
poll_value() {
  local limit=$1 mode=$2 want=$3; shift 3
  local end=$((SECONDS + limit)) ok
  while :; do
    WAIT_VALUE=$("$@" 2>/dev/null)
    case $mode in
      match) [[ "$WAIT_VALUE" =~ $want ]] && return 0 ;;
      equal) [ "$WAIT_VALUE" = "$want" ] && return 0 ;;
      holds) [ "$WAIT_VALUE" = "$want" ] || return 1 ;;
    esac
    if [ $SECONDS -ge $end ]; then ok=1; [ "$mode" = holds ] && ok=0; return $ok; fi
    sleep 0.1
  done
}
wait_match() { poll_value "$1" match "$2" "${@:3}"; }
wait_equal() { poll_value "$1" equal "$2" "${@:3}"; }
holds() { poll_value "$1" holds "$2" "${@:3}"; }
