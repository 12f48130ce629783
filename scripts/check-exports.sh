#!/usr/bin/env bash
# Fails unless the shared library defines exactly one dynamic symbol of its
# own: CompileFile.
set -euo pipefail
lib=$1
symbols=$(nm -D --defined-only "$lib" | awk '{print $3}' | grep -v '^$' | sort -u)
if [ "$symbols" != "CompileFile" ]; then
  echo "unexpected exported symbols in $lib:"
  echo "$symbols"
  exit 1
fi
echo "exports: $symbols"
