# Shared by scripts/test and scripts/test-guest: the closing line of a run.

# summarise_ctest_logs LOG...: prints `tests: N passed, N failed` over ctest's summaries in the logs; a log
# without a summary counts as one failure. Fails when anything failed.
summarise_ctest_logs() {
  local passed=0 failed=0 log total bad
  for log in "$@"; do
    total= bad=
    read -r total bad < <(awk '/tests passed, [0-9]+ tests failed out of/ {print $NF, $4}' "$log" 2>/dev/null | tail -n 1) || true
    if [ -z "${total:-}" ]; then failed=$((failed + 1)); continue; fi
    passed=$((passed + total - bad)); failed=$((failed + bad))
  done
  echo "tests: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
