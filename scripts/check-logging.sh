#!/usr/bin/env bash
# Fails when core code writes to Qt's debug stream behind the logger's back
# (qDebug, qInfo, qWarning, qCritical): everything goes through the logger,
# its switches and its masking. The logger's own sinks are the exception, as
# they report on the log file itself. Usage: check-logging.sh [core folder]
set -euo pipefail
core=${1:-"$(dirname "$0")/../QuorvelCore"}
if hits=$(grep -rnE '\bq(Debug|Info|Warning|Critical)[[:space:]]*\(' "$core" \
            --include='*.h' --include='*.cpp' |
          grep -vE '/foundation/(sink[a-z]*|simpleqtlogger[a-z]*)\.(h|cpp):'); then
  printf 'raw debug-stream output, use the logger (L_DEBUG, L_WARN, ...):\n%s\n' "$hits" >&2
  exit 1
fi
echo "logging: nothing under $core writes to the debug stream directly"
