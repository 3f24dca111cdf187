// A host includes only Allegro and the interface header: that must compile.
#include <allegro.h>

#include "IGame.h"

#include <type_traits>

static_assert(!std::is_copy_constructible_v<IGame>, "games are not copied");
static_assert(!std::is_copy_assignable_v<IGame>, "games are not assigned");
static_assert(std::is_abstract_v<IGame>, "a game supplies the pure operations");
static_assert(std::has_virtual_destructor_v<IGame>, "hosts delete games through IGame");
static_assert(sizeof(MouseInput) == 12, "three 32-bit fields, nothing else");
