#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses it as its users would: the
# modules beside their games/ folders; a host compiled with the pkg-config
# file; the example module, built from the kit as docs/module-authors.md
# says, with CMake (find_package) and with its one compiler command; and
# Molehill, built from the kit with CMake, its pictures and sounds made by
# the kit's programs the same as in the build; each validated by the
# installed gamehost and played for 60 frames.
set -euo pipefail
build=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
game_dir=$(dirname "$(find "$prefix" -name flintmoor.so)")
for game in flintmoor molehill; do
  for file in $game.so games/$game/$game.dat games/$game/icon.bmp; do
    [ -f "$game_dir/$file" ] || { echo "missing $file in $game_dir"; exit 1; }
  done
  cmp "$game_dir/games/$game/$game.dat" "$build/games/$game/$game.dat"
done

pc_dir=$(dirname "$(find "$prefix" -name flintmoor-plugin.pc)")
cat >"$prefix/host.cpp" <<'CPP'
#include <allegro.h>
#include <dlfcn.h>
#include "IGame.h"
int main() {
  void* module = dlopen("flintmoor.so", RTLD_NOW);
  return module != nullptr && dlsym(module, "GetPlugin") != nullptr ? 0 : 1;
}
END_OF_MAIN()
CPP
read -r -a flags <<<"$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs flintmoor-plugin allegro)"
g++ -std=c++17 -Wall -Wextra -Werror -o "$prefix/host" "$prefix/host.cpp" "${flags[@]}" -ldl

# The example, with CMake and with the one command.
example=$source_dir/examples/balloons
cmake_build() { # SOURCE BUILD
  if ! { cmake -S "$1" -B "$2" -DCMAKE_PREFIX_PATH="$prefix" &&
    cmake --build "$2"; } >"$prefix/cmake.log" 2>&1; then
    cat "$prefix/cmake.log"
    exit 1
  fi
}
cmake_build "$example" "$prefix/cmake-build"
mkdir -p "$prefix/one-command"
g++ -std=c++17 -shared -fPIC -fvisibility=hidden "$example/balloons.cpp" \
  -o "$prefix/one-command/balloons.so" "${flags[@]}"

# Molehill, as its author builds it outside this tree.
cmake_build "$source_dir/molehill" "$prefix/molehill-build"
for file in molehill.dat icon.bmp; do
  cmp "$prefix/molehill-build/games/molehill/$file" "$build/games/molehill/$file"
done

for module in "$prefix/cmake-build/balloons.so" "$prefix/one-command/balloons.so" \
  "$prefix/molehill-build/molehill.so"; do
  exports=$(nm -D --defined-only "$module" | awk '$2 == "T" { print $3 }')
  [ "$exports" = GetPlugin ] || { echo "$module exports: $exports"; exit 1; }
  # On displays of their own, away from the tests that click on the shared one.
  env -u DISPLAY "$prefix/games/gamehost" --validate "$module" >"$prefix/validate.txt" 2>&1 ||
    { cat "$prefix/validate.txt"; exit 1; }
  env -u DISPLAY "$source_dir/tools/with-display" "$prefix/games/gamehost" --frames 60 --no-save \
    "$module" >"$prefix/play.txt" 2>&1 || { cat "$prefix/play.txt"; exit 1; }
  grep -q "in 60 frames" "$prefix/play.txt" || { cat "$prefix/play.txt"; exit 1; }
done
echo "installed layout, pkg-config host, the example built two ways and Molehill from the kit, validated, played: ok"
