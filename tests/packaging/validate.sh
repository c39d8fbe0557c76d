#!/bin/sh
# validate.sh TOOL ARGS...: runs a validator; its warnings fail the test like its errors do.
# Exit 77 (skipped) only when the tool itself is missing.
tool=$1
if ! command -v "$tool" >/dev/null 2>&1; then
  echo "SKIPPED: $tool is not installed (scripts/install-deps installs it)"
  exit 77
fi
out=$("$@" 2>&1)
status=$?
printf '%s\n' "$out"
if [ $status -ne 0 ]; then
  exit $status
fi
if printf '%s\n' "$out" | grep -Eiq '(^|: )(error|warning)[: ]'; then
  echo "FAILED: $tool reported problems"
  exit 1
fi
exit 0
