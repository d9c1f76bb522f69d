# What the shell end-to-end scripts share, sourced after setting `script` to their name:
# one line per check and a summary, and waiting for a condition.
passed=0 failed=0

# check NAME TEST [DETAIL]: TEST and, on failure, DETAIL are evaluated as commands.
check() {
  if eval "$2"; then
    echo "ok   $1"
    passed=$((passed + 1))
  else
    echo "FAIL $1${3:+: $(eval "$3" 2>&1)}"
    failed=$((failed + 1))
  fi
}
summary() { echo "$script: $passed passed, $failed failed" && [[ $failed -eq 0 ]]; }

# WaitFor SECONDS COMMAND...: true as soon as the command succeeds, false after SECONDS.
WaitFor() {
  local deadline=$((SECONDS + $1))
  until "${@:2}"; do
    [[ $SECONDS -lt $deadline ]] && sleep 0.2 || return 1
  done
}
