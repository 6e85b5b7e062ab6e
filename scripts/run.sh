#!/usr/bin/env bash
# Fresh Debian 12 to a running program: installs what is missing, builds,
# starts the local stack (the stand-in service and its chat server, on
# 127.0.0.1 only) unless it already runs, and opens the program pointed at it
# as one of two demo users.
#
#   ./scripts/run.sh             the first demo user
#   ./scripts/run.sh --user 2    a second window for the second demo user
#   ./scripts/run.sh --stop      stops the local stack
#
# The stack keeps its state in $QUORVEL_STACK_DIR (default: build/localstack),
# and each demo user's program its own data under that folder, so a demo never
# touches a real installation's data. Closing the program leaves the stack
# running for the next window.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUORVEL_BUILD_DIR:-build}
stack=${QUORVEL_STACK_DIR:-$PWD/$build/localstack}
code=${QUORVEL_DEMO_CODE:-24680}
numbers=(09120000001 09120000002)

user=1
args=()
stop=0
while [ $# -gt 0 ]; do
  case "$1" in
    --user) user=${2:-}; shift 2 ;;
    --user=*) user=${1#--user=}; shift ;;
    --stop) stop=1; shift ;;
    *) args+=("$1"); shift ;;
  esac
done

# Whether a process runs: a finished one that its parent has not reaped yet
# (state Z) counts as gone.
alive() {
  local state
  state=$(sed -n 's/^[0-9]* (.*) \([A-Za-z]\).*/\1/p' "/proc/$1/stat" 2>/dev/null || true)
  [ -n "$state" ] && [ "$state" != Z ]
}

running_pid() {
  local pid
  pid=$(cat "$stack/service.pid" 2>/dev/null || true)
  if [ -n "$pid" ] && alive "$pid" &&
     tr '\0' ' ' < "/proc/$pid/cmdline" 2>/dev/null | grep -q quorvel-localservice; then
    echo "$pid"
  fi
}

if [ "$stop" = 1 ]; then
  pid=$(running_pid)
  if [ -z "$pid" ]; then echo "The local stack is not running."; exit 0; fi
  # The service stops its chat server before it exits: waiting for the
  # service is waiting for the whole stack, and no longer than that.
  kill -TERM "$pid"
  for _ in $(seq 1 600); do alive "$pid" || break; sleep 0.05; done
  if alive "$pid"; then echo "The local stack (pid $pid) did not stop within 30 s." >&2; exit 1; fi
  echo "The local stack is stopped (its data stays in $stack)."
  exit 0
fi

case "$user" in
  1|2) ;;
  *) echo "--user takes 1 or 2" >&2; exit 2 ;;
esac

./scripts/install-deps.sh
./scripts/build.sh

mkdir -p "$stack"
if [ -z "$(running_pid)" ]; then
  rm -f "$stack/client.env"
  # Started from a subshell that ends at once, in a session of its own: the
  # stack is nobody's child here, so the program this script becomes below
  # never holds it (nor leaves it a zombie once it stops).
  (setsid nohup "$build/LocalService/quorvel-localservice" --data "$stack" --demo-code "$code" \
    >>"$stack/localservice.log" 2>&1 < /dev/null &)
  for _ in $(seq 1 300); do
    [ -s "$stack/client.env" ] && [ -n "$(running_pid)" ] && break
    sleep 0.1
  done
  if [ ! -s "$stack/client.env" ]; then
    echo "The local service did not start; see $stack/localservice.log:" >&2
    tail -n 20 "$stack/localservice.log" >&2
    exit 1
  fi
  echo "Local stack started (log: $stack/localservice.log)."
else
  echo "Local stack already running (log: $stack/localservice.log)."
fi

set -a
# shellcheck disable=SC1091
. "$stack/client.env"
set +a

home="$stack/users/$user"
mkdir -p "$home/home" "$home/data" "$home/config" "$home/cache" "$home/runtime"
chmod 700 "$home/runtime"
export HOME="$home/home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config"
export XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime"
# The single-instance guard meets other starts through the temporary folder:
# a folder of its own per demo user lets the second window start beside the
# first instead of raising it.
export TMPDIR="$home/runtime"

other=$((3 - user))
echo "Demo user $user: sign up with the number ${numbers[$((user - 1))]} and the code $code."
echo "Add demo user $other by the number ${numbers[$((other - 1))]} as a contact to chat."
echo "Second window: ./scripts/run.sh --user $other    Stop the stack: ./scripts/run.sh --stop"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under a virtual X server." >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" "$build/Quorvel/Quorvel" "${args[@]}"
fi
exec "$build/Quorvel/Quorvel" "${args[@]}"
