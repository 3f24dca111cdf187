# shellcheck shell=bash
# What several of the project's scripts share. They source it from the
# source tree's folder (source tools/common.sh), which it sets root to, and
# it defines:
#   needs GROUP...                the packages of those tools/install-deps groups
#   build_preset PRESET [TARGET...]   one of CMakePresets.json's builds

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Runs tools/install-deps for the groups this command has not set up yet.
# The scripts a command starts inherit FLINTMOOR_DEPS_READY, so each
# command looks at its packages once.
needs() {
  local group covered missing=()
  for group in "$@"; do
    case $group in
      play) covered="play package tests windows" ;; # each holds all of play
      bare) covered="bare tests" ;;
      package) covered="package tests" ;;
      *) covered=$group ;;
    esac
    # shellcheck disable=SC2086 # covered is a list of words
    printf '%s\n' $covered | grep -qxF -f - <(printf '%s\n' ${FLINTMOOR_DEPS_READY:-}) ||
      missing+=("$group")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  "$root/tools/install-deps" "${missing[@]}"
  FLINTMOOR_DEPS_READY="${FLINTMOOR_DEPS_READY:-} ${missing[*]}"
  export FLINTMOOR_DEPS_READY
}

# Configures PRESET's folder, quietly (again keeps what is built), and builds
# its targets, or the TARGETs given, on every core.
build_preset() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j"$(nproc)" ${2:+--target "${@:2}"}
}
