#!/usr/bin/env bash
# The cache outside the tree (tools/common.sh): an entry is named by its
# inputs, and is there whole or not at all.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export FLINTMOOR_CACHE=$work/cache
# shellcheck source=tools/common.sh
source "$(dirname "$0")/../../tools/common.sh"
failures=0
expect() { # DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

[ "$cache" = "$work/cache" ]
expect "the same inputs name the same entry" [ "$(echo a | cache_key)" = "$(echo a | cache_key)" ]
expect "other inputs name another" [ "$(echo a | cache_key)" != "$(echo b | cache_key)" ]

mkdir -p "$work/made/lib" && echo one >"$work/made/lib/file"
entry=$cache/kind/$(echo inputs | cache_key)
cache_store "$work/made" "$entry"
echo changed >"$work/made/lib/file"
expect "an entry is a copy, whole" [ "$(cat "$entry/lib/file")" = one ]
cache_store "$work/made" "$entry"
expect "the first store of an entry stays" [ "$(cat "$entry/lib/file")" = one ]

broken=$cache/kind/$(echo other | cache_key)
cache_store "$work/never-made" "$broken" 2>/dev/null || true
expect "a copy that failed leaves no entry" [ ! -e "$broken" ]
expect "nothing half written is left beside the entries" \
  [ -z "$(find "$cache" -name '*.part-*')" ]
[ "$failures" -eq 0 ]
