// The export, the identity answers and SetPath: what a host asks before it
// starts a game.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Checks.h"
#include "DrivenGame.h"
#include "SharedLibrary.h"

namespace {

using Answer = const char* (IGame::*)();
struct IdentityOperation {
  const char* name;
  Answer operation;
};
const IdentityOperation kIdentity[] = {{"GetName", &IGame::GetName},
                                       {"GetAuthor", &IGame::GetAuthor},
                                       {"GetDescription", &IGame::GetDescription},
                                       {"GetVersion", &IGame::GetVersion},
                                       {"GetIcon", &IGame::GetIcon}};

using Query = int32_t (IGame::*)();
struct QueryOperation {
  const char* name;
  Query operation;
};
const QueryOperation kQueries[] = {{"QueryA", &IGame::QueryA},
                                   {"QueryB", &IGame::QueryB},
                                   {"QueryC", &IGame::QueryC},
                                   {"QueryD", &IGame::QueryD}};

std::string Quoted(const char* text) {
  return text == nullptr ? "null" : "\"" + std::string(text) + "\"";
}

// Takes over freed memory the way a busy host soon would, so that a string
// that lived in it no longer reads as it did.
void ReuseFreedMemory() {
  std::vector<void*> blocks;
  for (size_t size = 8; size <= 4096; size += size / 4 + 8) {
    for (int copy = 0; copy < 8; ++copy) {
      void* block = std::malloc(size);
      if (block != nullptr) std::memset(block, 'Z', size);
      blocks.push_back(block);
    }
  }
  for (void* block : blocks) std::free(block);
}

}  // namespace

std::string ExportsGetPlugin(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  progress.Call("GetPlugin");
  auto first = module->NewGame();
  progress.Call("GetPlugin, a second time");
  auto second = module->NewGame();
  progress.Returned();
  if (first == nullptr || second == nullptr) throw CheckFailure("GetPlugin answered null");
  if (first == second) {
    [[maybe_unused]] IGame* same = second.release();  // the one object is deleted once
    throw CheckFailure(
        "two GetPlugin calls answered the same object: each call must create a new game with "
        "new, as the host deletes each one it was given");
  }
  progress.Call("the destructor of the second game");
  second.reset();
  progress.Call("the destructor of the first game");
  first.reset();
  progress.Returned();
  return std::string("loaded with ") + SharedLibrary::kLoadedWith + "; two calls gave two games";
}

// The answers must be there, the same from call to call and game to game, and
// still readable after the games that gave them are gone.
std::string Identity(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  DrivenGame game(*module, progress), other(*module, progress);
  // (The export check tells of one object answered twice; it is destroyed once.)
  const bool twice = &game.Game() == &other.Game();
  std::vector<std::string> kept;
  std::vector<const char*> pointers;
  for (const auto& [name, operation] : kIdentity) {
    progress.Call(name);
    const char* first = (game.Game().*operation)();
    const char* again = (game.Game().*operation)();
    const char* fromOther = (other.Game().*operation)();
    progress.Returned();
    if (first == nullptr) throw CheckFailure(std::string(name) + " answered null");
    if (again == nullptr || fromOther == nullptr || std::strcmp(first, again) != 0 ||
        std::strcmp(first, fromOther) != 0) {
      throw CheckFailure(std::string(name) + " answered " + Quoted(first) + ", then " +
                         Quoted(again) + ", and " + Quoted(fromOther) +
                         " from another game: it must answer the same every time");
    }
    kept.emplace_back(first);
    pointers.push_back(first);
  }
  std::string queries;
  for (const auto& [name, operation] : kQueries) {
    progress.Call(name);
    queries +=
        std::string(queries.empty() ? "" : ", ") + std::to_string((game.Game().*operation)());
  }
  progress.Call("NotifyA");
  game.Game().NotifyA();
  progress.Call("NotifyB");
  game.Game().NotifyB();
  progress.Returned();
  if (!twice) other.Destroy();
  game.Destroy();
  ReuseFreedMemory();
  for (size_t i = 0; i < kept.size(); ++i) {
    progress.Step(std::string("while reading ") + kIdentity[i].name +
                  "'s answer after the games were destroyed");
    if (std::memcmp(pointers[i], kept[i].c_str(), kept[i].size() + 1) != 0) {
      throw CheckFailure(std::string(kIdentity[i].name) + "'s answer \"" + kept[i] +
                         "\" changed once the games were destroyed: identity strings must live as "
                         "long as the module (string literals or static storage)");
    }
  }
  return kept[0] + " " + kept[3] + " by " + kept[1] + "; strings outlive the games; queries " +
         queries;
}

std::string SetPath(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  DrivenGame game(*module, progress);
  auto stored = [&] {
    return std::string(game.Game().path != nullptr ? game.Game().path : "(null)");
  };
  const std::pair<const char*, const char*> cases[] = {{"first/folder/module.so", "first/folder/"},
                                                       {"second/module.so", "second/"}};
  for (const auto& [given, expected] : cases) {
    game.SetPath(given);
    if (stored() != expected) {
      throw CheckFailure("SetPath(\"" + std::string(given) + "\") stored \"" + stored() +
                         "\", not \"" + expected +
                         "\" (as IGame stores it, unless the game means otherwise)");
    }
  }
  progress.Call("SetPath(nullptr)");
  game.Game().SetPath(nullptr);
  progress.Returned();
  if (stored() != "second/") {
    throw CheckFailure("SetPath(nullptr) changed the stored path from \"second/\" to \"" +
                       stored() + "\": a null path must be ignored");
  }
  game.Destroy();
  return "stores the folder; a second call replaces the first; a null path is ignored";
}
