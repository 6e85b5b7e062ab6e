#!/usr/bin/env bash
# The test wrapper's verdicts: a failing program fails even when it skipped a
# case, a program that skipped its set-up is reported skipped (77), a program
# that passed with a skipped case passes.
set -u
isolate=$1
status=0
expect() {
  local want=$1 script=$2 got
  "$isolate" bash -c "$script" >/dev/null 2>&1
  got=$?
  if [ "$got" -ne "$want" ]; then
    echo "expected $want, got $got: $script" >&2
    status=1
  fi
}
expect 1 'echo "SKIP   : T::a() no server"; echo "FAIL!  : T::b() broken"; exit 1'
expect 1 'echo "SKIP   : T::initTestCase() no server"; exit 1'
expect 77 'echo "SKIP   : T::initTestCase() no server"; echo "Totals: 1 passed, 0 failed, 1 skipped"'
expect 0 'echo "SKIP   : T::a() no device"; echo "PASS   : T::b()"'
expect 0 'echo "plain output"'
expect 3 'exit 3'
[ $status -eq 0 ] && echo "isolate: every verdict as expected"
exit $status
