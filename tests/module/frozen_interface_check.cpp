// Run by the build, which fails when plugin/IGame.h no longer lays out
// IGame's table of virtual operations, or MouseInput, as the frozen copy in
// tests/frozen/ does: modules built against an earlier header would then
// call the wrong operation.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>

// The frozen copy under other names, so that both declarations can be
// compared in one place.
#define IGame FrozenIGame
#define MouseInput FrozenMouseInput
#define GetPlugin FrozenGetPlugin
#define GetPluginFunction FrozenGetPluginFunction
#include "frozen/IGame.h"
#undef IGame
#undef MouseInput
#undef GetPlugin
#undef GetPluginFunction

#include "IGame.h"

static_assert(sizeof(MouseInput) == sizeof(FrozenMouseInput), "MouseInput changed size");
static_assert(offsetof(MouseInput, x) == offsetof(FrozenMouseInput, x), "MouseInput.x moved");
static_assert(offsetof(MouseInput, y) == offsetof(FrozenMouseInput, y), "MouseInput.y moved");
static_assert(offsetof(MouseInput, buttons) == offsetof(FrozenMouseInput, buttons),
              "MouseInput.buttons moved");
static_assert(std::is_same_v<decltype(MouseInput::x), decltype(FrozenMouseInput::x)>,
              "MouseInput.x changed type");
static_assert(std::is_same_v<decltype(MouseInput::y), decltype(FrozenMouseInput::y)>,
              "MouseInput.y changed type");
static_assert(std::is_same_v<decltype(MouseInput::buttons), decltype(FrozenMouseInput::buttons)>,
              "MouseInput.buttons changed type");
static_assert(sizeof(IGame) == sizeof(FrozenIGame), "IGame's data changed size");

namespace {

// The slot of a virtual operation in the table, from the pointer to member
// as the Itanium C++ ABI represents it (table offset + 1); -1 when not virtual.
template <typename Operation>
long Slot(Operation operation) {
  struct {
    uintptr_t function;
    ptrdiff_t adjustment;
  } representation;
  static_assert(sizeof representation == sizeof operation, "not the Itanium C++ ABI");
  std::memcpy(&representation, &operation, sizeof representation);
  if ((representation.function & 1) == 0) return -1;
  return long((representation.function - 1) / sizeof(void*));
}

struct Compared {
  const char* name;
  long live, frozen;
};

#define COMPARED(operation)                                            \
  Compared {                                                           \
#operation, Slot(&IGame::operation), Slot(&FrozenIGame::operation) \
  }

}  // namespace

int main() {
  const Compared operations[] = {
      COMPARED(GetName), COMPARED(GetAuthor), COMPARED(GetDescription), COMPARED(GetVersion),
      COMPARED(GetIcon), COMPARED(SetPath),   COMPARED(Init),           COMPARED(Shutdown),
      COMPARED(Draw),    COMPARED(Update),    COMPARED(GetScore),       COMPARED(QueryA),
      COMPARED(NotifyA), COMPARED(NotifyB),   COMPARED(QueryB),         COMPARED(QueryC),
      COMPARED(QueryD)};
  int moved = 0;
  for (const Compared& operation : operations) {
    if (operation.live == operation.frozen) continue;
    std::fprintf(stderr, "plugin/IGame.h: %s is in slot %ld of IGame's table, frozen in slot %ld\n",
                 operation.name, operation.live, operation.frozen);
    ++moved;
  }
  if (moved > 0) {
    std::fprintf(stderr,
                 "IGame's slots never move: modules built against the released header "
                 "would call the wrong operation\n");
  }
  return moved == 0 ? 0 : 1;
}
