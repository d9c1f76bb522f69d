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

# InWine SCENARIO [ARG]...: runs this script again on a private X server, in the Wine prefix
# QUORVEX_E2E_WINEPREFIX (else build/wineprefix-e2e), while mastersim serves SCENARIO at
# QUORVEX_MASTERSIM, its log in $work/mastersim.log; returns at once in that second run.
InWine() {
  [[ -z ${QUORVEX_MASTERSIM:-} ]] || return 0
  mkdir -p "$work" "$root/build/artifacts"
  MASTERSIM_LOG=$work/mastersim.log exec "$root/scripts/with-display" "$root/tests/integration/with-mastersim" \
    --scenario "$1" "$root/scripts/wine-env" "${QUORVEX_E2E_WINEPREFIX:-$root/build/wineprefix-e2e}" "$0" "${@:2}"
}
# Shot NAME: a screenshot of the whole screen in build/artifacts/NAME.
Shot() { import -window root "$root/build/artifacts/$1"; }
