#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a host author gets:
# the module beside its games/ folder, the header, and a pkg-config file
# good enough to compile a host and a module.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
game_dir=$(dirname "$(find "$prefix" -name flintmoor.so)")
for file in flintmoor.so games/flintmoor/flintmoor.dat games/flintmoor/icon.bmp; do
  [ -f "$game_dir/$file" ] || { echo "missing $file in $game_dir"; exit 1; }
done
cmp "$game_dir/games/flintmoor/flintmoor.dat" "$build/games/flintmoor/flintmoor.dat"

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
read -r -a flags <<<"$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs flintmoor-plugin)"
g++ -std=c++17 -Wall -Wextra -Werror -o "$prefix/host" "$prefix/host.cpp" "${flags[@]}" -ldl

# A module author's build, as the README gives it, passes the installed validator.
g++ -std=c++17 -shared -fPIC -fvisibility=hidden -o "$prefix/mygame.so" \
  "$(dirname "$0")/modules/test_game.cpp" "${flags[@]}"
mkdir -p "$prefix/games"
(cd "$prefix" && "$prefix/bin/gamehost" --validate mygame.so >"$prefix/validate.txt") ||
  { cat "$prefix/validate.txt"; exit 1; }
echo "installed layout, pkg-config host and module builds, validator: ok"
