// Writes gamehost's manual page (roff, section 6) at build time, from what
// gamehost itself knows: its options, the other words --help gives and its
// exit statuses. Only the prose around them is written here.
// Usage: gamehost-manual VERSION GAMEHOST GAMES-FOLDER PAGE
//   GAMEHOST, GAMES-FOLDER: where the Debian package installs gamehost and
//   its games (the page names them, and the one from the other)
#include <csignal>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostError.h"
#include "Options.h"

namespace {

// Text for roff: a backslash printed as one, a hyphen that starts a word
// (an option) as a minus sign, and no line mistaken for a request.
std::string Roff(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '(' ||
                            text[i - 1] == '-' || text[i - 1] == '/')) {
      out += "\\-";
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

// "[options] [MODULE]": the words in italics, the brackets as they are.
std::string Italics(const std::string& words) {
  static const std::regex word("[A-Za-z][A-Za-z0-9._]*");
  return std::regex_replace(Roff(words), word, "\\fI$&\\fR");
}

// An option as a tagged paragraph's tag: "--frames N" with N in italics.
std::string Tag(const OptionName& option) {
  std::string tag = "\\fB" + Roff(option.name) + "\\fR";
  if (!option.value.empty()) tag += " \\fI" + Roff(option.value) + "\\fR";
  return tag;
}

// The examples' command lines, with what each does; every option they use
// must be one of gamehost's, so a renamed option can't leave one behind.
const std::pair<const char*, const char*> kExamples[] = {
    {"gamehost", "Open the collection of games in a window: choose one, play it, come back."},
    {"gamehost --list --json", "Print the games of the collection as JSON, for a script."},
    {"gamehost --autoplay --scale 2",
     "Watch the built-in player, in a window twice the game's size."},
    {"gamehost --frames 600 --no-save --screenshot shot.png",
     "Play ten seconds at once, keep no record and save the last frame."},
    {"gamehost --info", "Print the game's name, author, description, version and icon."},
    {"gamehost --validate ./mygame.so",
     "Check a module you wrote against the interface's contract, each check in a process "
     "of its own."},
};

void CheckExamples() {
  std::set<std::string> known;
  for (const OptionName& option : OptionNames()) known.insert(option.name);
  for (const auto& [command, what] : kExamples) {
    std::istringstream words(command);
    for (std::string word; words >> word;) {
      if (word.rfind("-", 0) == 0 && known.count(word) == 0) {
        throw std::runtime_error("an example uses " + word + ", which gamehost has not");
      }
    }
  }
}

void WritePage(std::ostream& page, const std::string& version,
               const std::filesystem::path& gamehost, const std::filesystem::path& games) {
  const std::string synopsis = Synopsis();
  const size_t program = synopsis.find(' ');
  page << ".TH GAMEHOST 6 \"\" \"Flintmoor " << version << "\" \"Games\"\n"
       << ".SH NAME\n"
       << "gamehost \\- play game modules for the Allegro 4 game library, Flintmoor among them\n"
       << ".SH SYNOPSIS\n"
       << ".B " << synopsis.substr(0, program) << "\n"
       << Italics(synopsis.substr(program + 1)) << "\n"
       << ".SH DESCRIPTION\n"
       << ".B gamehost\n"
       << "plays game modules: shared libraries on the Allegro 4 game library that export\n"
       << "one function, GetPlugin, and keep the contract of the interface IGame.\n"
       << "Flintmoor, a mouse shooting gallery, comes with it: grouse fly across a moorland\n"
       << "sky, a click shoots one down, and a bird that escapes resets the score.\n"
       << ".PP\n"
       << "Without a module named, gamehost opens the collection: every game installed\n"
       << "with it and every game in the player's own folder (see FILES), listed with its\n"
       << "icon, name, version, author and record. A game that can't be played is listed\n"
       << "too, dimmed, with why. A game that crashes or hangs brings the player back to\n"
       << "the list, saying so.\n"
       << ".PP\n"
       << "A game opens on its start screen, with its record; a click starts a round, and\n"
       << "the results follow it. The window opens at the largest whole-number size of the\n"
       << "game that fits the desktop, with sharp pixels. A module finds its pictures and\n"
       << "sounds in the folder\n"
       << ".IR games / MODULE /\n"
       << "beside it, which gamehost moves to.\n"
       << ".PP\n"
       << "For module authors,\n"
       << ".B \\-\\-validate\n"
       << "checks a module against the contract, each check in a process of its own, and\n"
       << "names what to fix.\n"
       << ".SH OPTIONS\n";
  for (const OptionName& argument : Arguments()) {
    page << ".TP\n.I " << Roff(argument.name) << "\n" << Roff(argument.help) << "\n";
  }
  for (const OptionName& option : OptionNames()) {
    if (option.help.empty()) continue;  // one only gamehost itself uses
    page << ".TP\n" << Tag(option) << "\n" << Roff(option.help) << "\n";
  }
  page << ".SH KEYS\n" << Roff(Keys()) << "\n";

  page << ".SH EXIT STATUS\n";
  for (const ExitStatusMeaning& status : kExitStatuses) {
    page << ".TP\n.B " << int(status.status) << "\n" << Roff(status.meaning) << "\n";
  }
  page << ".PP\n"
       << "Stopped by Ctrl-C, kill or a closed terminal (SIGINT, SIGTERM, SIGHUP),\n"
       << "gamehost keeps a record the round has set and then ends as the signal does: a\n"
       << "shell shows " << 128 + SIGINT << ", " << 128 + SIGTERM << " or " << 128 + SIGHUP
       << ".\n";

  const std::string fromGamehost = games.lexically_relative(gamehost.parent_path()).string();
  page << ".SH FILES\n"
       << ".TP\n.I " << Roff(games.string() + "/") << "\n"
       << "The installed games: each module,\n.IR NAME .so,\nbeside its folder\n"
       << ".IR games / NAME /.\n"
       << "That is where they are for " << Roff(gamehost.string())
       << "; installed elsewhere, gamehost finds them at\n.I " << Roff(fromGamehost + "/")
       << "\nfrom its own folder.\n"
       << ".TP\n.I $XDG_DATA_HOME/gamehost/games/\n"
       << "The player's own games, laid out the same way: dropping\n.I x.so\nwith its\n"
       << ".I games/x/\nthere adds a game. Without XDG_DATA_HOME,\n"
       << ".IR ~/.local/share/gamehost/games/ .\n"
       << ".TP\n.I $XDG_DATA_HOME/gamehost/best\\-scores.txt\n"
       << "The records: one line a game, its name and best score apart by a tab, replaced\n"
       << "whole, never half written. Without XDG_DATA_HOME,\n"
       << ".IR ~/.local/share/gamehost/best\\-scores.txt .\n"
       << "With\n.BR \\-\\-no\\-save ,\nnone is kept; the built-in player's scores never are.\n"
       << ".TP\n.I $XDG_DATA_HOME/gamehost/last\\-played.txt\n"
       << "The game last played, selected when the collection opens again.\n"
       << ".TP\n.I $XDG_CACHE_HOME/gamehost/games.json\n"
       << "What each game of the collection said of itself, kept until its module changes.\n"
       << "Without XDG_CACHE_HOME,\n.IR ~/.cache/gamehost/games.json .\n";

  page << ".SH EXAMPLES\n";
  for (const auto& [command, what] : kExamples) {
    page << ".TP\n.B " << Roff(command) << "\n" << Roff(what) << "\n";
  }
  page << ".SH SEE ALSO\n"
       << "The interface between gamehost and its modules, IGame.h, comes with the module\n"
       << "author's kit (the flintmoor\\-dev package): it says what a module may do and when\n"
       << "gamehost calls it.\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: gamehost-manual VERSION GAMEHOST GAMES-FOLDER PAGE\n";
    return 2;
  }
  try {
    CheckExamples();
    std::ofstream page(argv[4]);
    WritePage(page, argv[1], argv[2], argv[3]);
    if (!page.flush()) throw std::runtime_error(std::string("can't write ") + argv[4]);
  } catch (const std::exception& error) {
    std::cerr << "gamehost-manual: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
