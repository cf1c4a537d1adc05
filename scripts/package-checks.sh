# Sourced by the package checks: `check WHAT COMMAND...` runs COMMAND quietly and prints one ok or FAIL line
# for WHAT, counting both in $passed and $failed.
passed=0
failed=0
check() {
    local what=$1
    shift
    if "$@" >/dev/null 2>&1; then
        passed=$((passed + 1))
        echo "  ok    $what"
    else
        failed=$((failed + 1))
        echo "  FAIL  $what"
    fi
}
