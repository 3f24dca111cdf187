# shellcheck shell=bash
# What several of the project's scripts share. They source it from the
# source tree's folder (source tools/common.sh), which it sets root to, and
# it defines:
#   needs GROUP...                the packages of those tools/install-deps groups
#   build_preset PRESET [TARGET...]   one of CMakePresets.json's builds
#   cache                         the cache folder kept between runs (below)
#   cache_key                     a digest of its standard input, to name an entry
#   cache_store FOLDER ENTRY      a copy of FOLDER as the cache's ENTRY
#   wine_layout "$0" "$@"         the script again, as Wine starts reliably (below)

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What is the same from run to run until its inputs change (Allegro built for
# Windows, the bare root's packages, clang-tidy's verdicts, the compiler's
# objects) is kept outside the source tree, so that a fresh clone finds it:
# in $FLINTMOOR_CACHE, else $XDG_CACHE_HOME/flintmoor, else
# ~/.cache/flintmoor. Each entry is named by a digest of all that goes into
# it and is written whole or not at all: a miss builds as if there were no
# cache, and a run stopped halfway leaves nothing that a later one takes.
# shellcheck disable=SC2034 # for the scripts that source this
cache=${FLINTMOOR_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/flintmoor}
cache_key() { sha256sum | cut -c1-32; }
cache_store() { # FOLDER ENTRY: a copy beside the entry, renamed into place
  local part
  mkdir -p "$(dirname "$2")"
  part=$(mktemp -d "$2.part-XXXXXX")
  # A run that stored the same entry first wins; its copy is the same.
  if cp -a "$1/." "$part/" && mv -T "$part" "$2" 2>/dev/null; then return 0; fi
  rm -rf "$part"
}

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

# wine_layout "$0" "$@": the scripts that run Wine call this first. Wine 8
# now and then fails to start a process (CreateProcess: ERROR_INTERNAL_ERROR,
# "failed to map the shared user data"; about one start in 3,000), when the
# new process's randomly placed memory took an address Wine keeps. It starts
# the script again with the address space laid out the same every time
# (setarch -R), which every process it starts inherits, Wine's and theirs.
# Where the system refuses that (some containers), the script runs as it is.
wine_layout() {
  ((0x$(</proc/self/personality) & 0x0040000)) && return 0
  setarch -R true 2>/dev/null || return 0
  exec setarch -R "$@"
}
