# What the shell end-to-end scripts share, sourced after setting `script` to their name:
# one line per check and a summary (tests/report.sh), and waiting for a condition.
. "$(dirname "${BASH_SOURCE[0]}")/../report.sh"

# check NAME TEST [DETAIL]: TEST and, on failure, DETAIL are evaluated as commands.
check() {
  if eval "$2"; then
    ReportPassed "$1"
  else
    ReportFailed "$1${3:+: $(eval "$3" 2>&1)}"
  fi
}
summary() { ReportCounts "$script"; }

# WaitFor SECONDS COMMAND...: true as soon as the command succeeds, false after SECONDS.
WaitFor() {
  local deadline=$((SECONDS + $1))
  until "${@:2}"; do
    [[ $SECONDS -lt $deadline ]] && sleep 0.2 || return 1
  done
}
