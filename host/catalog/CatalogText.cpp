#include "CatalogText.h"

#include <nlohmann/json.hpp>

std::string CatalogLines(const std::vector<CatalogEntry>& games) {
  std::string lines;
  for (const CatalogEntry& game : games) {
    std::string line = game.Title();
    if (!game.identity.version.empty()) line += " " + game.identity.version;
    if (!game.identity.author.empty()) line += " by " + game.identity.author;
    line += ": " + game.module;
    if (!game.Playable()) line += ": can't be played: " + game.problem;
    // One line a game, whatever a module answered.
    for (char& c : line) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    lines += line + "\n";
  }
  return lines;
}

std::string CatalogJson(const std::vector<CatalogEntry>& games) {
  nlohmann::json list = nlohmann::json::array();
  for (const CatalogEntry& game : games) {
    nlohmann::json entry{{"module", game.module},
                         {"name", game.identity.name},
                         {"author", game.identity.author},
                         {"description", game.identity.description},
                         {"version", game.identity.version},
                         {"icon", game.identity.icon},
                         {"playable", game.Playable()}};
    if (!game.Playable()) entry["reason"] = game.problem;
    list.push_back(entry);
  }
  return list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
