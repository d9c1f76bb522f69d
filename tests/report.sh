# The reporter of our shell test runners (scripts/test, scripts/fuzz, the shell end-to-end
# tests), sourced: "ok   WHAT" or "FAIL WHAT" a check, then "[NAME: ]N passed, M failed".
passed=0 failed=0

# ReportPassed WHAT / ReportFailed WHAT: one line for a check, counted.
ReportPassed() {
  passed=$((passed + 1))
  echo "ok   $1"
}
ReportFailed() {
  failed=$((failed + 1))
  echo "FAIL $1"
}

# ReportCounts [NAME]: the summary line; true when nothing failed.
ReportCounts() {
  echo "${1:+$1: }$passed passed, $failed failed"
  [[ $failed -eq 0 ]]
}
