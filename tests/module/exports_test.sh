#!/usr/bin/env bash
# The module exports GetPlugin, under that plain name, and nothing else of its own.
set -euo pipefail
symbols=$(nm -D --defined-only "$1" | awk '{print $3}' | grep -vxE '_edata|_end|__bss_start|_init|_fini' || true)
if [ "$symbols" != "GetPlugin" ]; then
  echo "exported: $symbols"
  exit 1
fi
echo "exports: GetPlugin only"
