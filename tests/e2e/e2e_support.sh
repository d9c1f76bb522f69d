# What the shell end-to-end scripts share, sourced after setting `script` to their name:
# one line per check and a summary, waiting for a condition, and a private X server.
passed=${E2E_PASSED:-0}  # carried across an exec into with-mastersim
failed=0
pids=()  # what the script started, for its clean-up

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
summary() {
  echo "$script: $passed passed, $failed failed"
  [[ $failed -eq 0 ]]
}

# WaitFor SECONDS COMMAND...: true as soon as the command succeeds, false after SECONDS.
WaitFor() {
  local deadline=$((SECONDS + $1))
  until "${@:2}"; do
    [[ $SECONDS -lt $deadline ]] && sleep 0.2 || return 1
  done
}

# StartXvfb FOLDER: Xvfb picks a free display itself and names it in FOLDER/display.
StartXvfb() {
  rm -f "$1/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$1/display" 2> "$1/xvfb.log" &
  pids+=($!)
  WaitFor 10 test -s "$1/display" && export DISPLAY=:$(head -1 "$1/display")
}
