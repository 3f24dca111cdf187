// Where gamehost finds games: the folder of those installed with it, the
// player's own, and the game it plays when none is named. In each, a module
// sits beside its games/<module>/ folder.
#ifndef FLINTMOOR_HOST_GAMEFOLDERS_H
#define FLINTMOOR_HOST_GAMEFOLDERS_H

#include <string>
#include <vector>

// The games installed with gamehost: the install's games folder
// (lib/gamehost/games from its bin folder; games\ beside gamehost.exe), or,
// in a build folder, the folder gamehost itself is in.
std::string InstalledGamesFolder();

// The player's own games: gamehost/games/ in the user's data folder.
std::string PlayersGamesFolder();

// The collection when none is named: the installed games, then the
// player's own.
std::vector<std::string> CollectionFolders();

// The game gamehost plays when none is named (for --info, --autoplay and
// --frames): Flintmoor, among the installed games.
std::string DefaultModulePath();

#endif
