# Sourced by the install tests: checks that count their failures and report them at the end.

failures=0

# A check that failed; the test goes on and fails at the end.
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# A failure after which nothing more can be checked.
die() {
    echo "FAIL: $*" >&2
    exit 1
}

# Ends the test: fails when any check did, else prints the line that says what was checked.
finish_checks() {
    if ((failures > 0)); then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "$1"
}
