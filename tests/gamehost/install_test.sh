#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses it as its users would: the
# modules beside their games/ folders; a host compiled with the pkg-config
# file; the guide, whose links lead to what is installed; the installed
# example module, built from the kit as the guide says, with CMake
# (find_package) and with its one compiler command, and a module using
# std::to_string built both ways, which unloads (the kit's flags keep GCC
# from making the unique symbols that would pin it); and Molehill, built
# from the kit with CMake, its pictures and sounds made by the kit's
# programs the same as in the build; each validated by the installed
# gamehost and played for 60 frames.
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

# The guide, with every relative link leading to something installed.
guide=$(find "$prefix" -name module-authors.md)
doc_dir=$(dirname "$guide")
links=$(grep -o '](\([^)#:]*\))' "$guide" | sed 's/^](//; s/)$//')
[ -n "$links" ] || { echo "the installed guide links to nothing"; exit 1; }
for link in $links; do
  [ -e "$doc_dir/$link" ] || { echo "the installed guide links to $link, not installed"; exit 1; }
done
grep -q "include/flintmoor/IGame.h" "$guide" || { echo "the guide does not link the header"; exit 1; }

# The example as installed, and a module using std::to_string made from
# it, each with CMake and with the one command.
example=$doc_dir/examples/balloons
to_string=$prefix/to-string
mkdir -p "$to_string"
cp "$example/CMakeLists.txt" "$to_string/"
sed 's|^#include "IGame.h"|&\n#include <string>\nstatic std::string lastCount;|' \
  "$example/balloons.cpp" >"$to_string/balloons.cpp"
sed -i 's|^\(.*int32_t Update(int32_t, MouseInput\* mouse) override {\)|\1\n    lastCount = std::to_string(mouse->x);|' \
  "$to_string/balloons.cpp"
grep -q "std::to_string(mouse->x)" "$to_string/balloons.cpp" ||
  { echo "the example's Update was not found to add std::to_string to"; exit 1; }
built=()
for source in "$example" "$to_string"; do
  name=$(basename "$source")
  [ "$source" = "$example" ] || name=to-string
  if ! { cmake -S "$source" -B "$prefix/$name-cmake" -DCMAKE_PREFIX_PATH="$prefix" &&
    cmake --build "$prefix/$name-cmake"; } >"$prefix/cmake.log" 2>&1; then
    cat "$prefix/cmake.log"
    exit 1
  fi
  mkdir -p "$prefix/$name-one-command"
  g++ -std=c++17 -shared -fPIC -fvisibility=hidden "$source/balloons.cpp" \
    -o "$prefix/$name-one-command/balloons.so" "${flags[@]}"
  built+=("$prefix/$name-cmake/balloons.so" "$prefix/$name-one-command/balloons.so")
done

# Molehill, as its author builds it outside this tree.
if ! { cmake -S "$source_dir/molehill" -B "$prefix/molehill-build" -DCMAKE_PREFIX_PATH="$prefix" &&
  cmake --build "$prefix/molehill-build"; } >"$prefix/cmake.log" 2>&1; then
  cat "$prefix/cmake.log"
  exit 1
fi
for file in molehill.dat icon.bmp; do
  cmp "$prefix/molehill-build/games/molehill/$file" "$build/games/molehill/$file"
done
built+=("$prefix/molehill-build/molehill.so")

for module in "${built[@]}"; do
  exports=$(nm -D --defined-only "$module" | awk '$2 == "T" { print $3 }')
  [ "$exports" = GetPlugin ] || { echo "$module exports: $exports"; exit 1; }
  # On displays of their own, away from the tests that click on the shared one.
  env -u DISPLAY "$prefix/games/gamehost" --validate "$module" >"$prefix/validate.txt" 2>&1 ||
    { cat "$prefix/validate.txt"; exit 1; }
  env -u DISPLAY "$source_dir/tools/with-display" "$prefix/games/gamehost" --frames 60 --no-save \
    "$module" >"$prefix/play.txt" 2>&1 || { cat "$prefix/play.txt"; exit 1; }
  grep -q "in 60 frames" "$prefix/play.txt" || { cat "$prefix/play.txt"; exit 1; }
done
echo "installed layout, pkg-config host, the guide's links, the example and a std::to_string" \
  "module built two ways, Molehill from the kit, validated, played: ok"
