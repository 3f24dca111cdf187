// gamehost: plays a game module in a window, lets it play itself, or
// reports what it is.
#include <allegro.h>
#include <loadpng.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "GameLoop.h"
#include "GameModule.h"
#include "HostError.h"
#include "Options.h"
#include "Player.h"
#include "Screen.h"
#include "Validator.h"

namespace fs = std::filesystem;

namespace {

// Where the game's icon is: the folder SetPath stored joined with GetIcon,
// or, where the module keeps its pictures with its resources, that file.
std::string IconPath(IGame& game, const GameModule& module) {
  std::string folder = game.path != nullptr ? game.path : "";
  fs::path beside = fs::path(folder) / game.GetIcon();
  fs::path withResources = fs::path(folder) / "games" / module.Stem() / game.GetIcon();
  if (!fs::exists(beside) && fs::exists(withResources)) return withResources.string();
  return beside.string();
}

int PrintInfo(const GameModule& module) {
  auto game = module.NewGame();
  game->SetPath(module.Path().c_str());
  std::printf("Name: %s\nAuthor: %s\nDescription: %s\nVersion: %s\nIcon: %s\n", game->GetName(),
              game->GetAuthor(), game->GetDescription(), game->GetVersion(),
              IconPath(*game, module).c_str());
  return kExitOk;
}

// Games find their resources under games/ in the working folder. Started
// elsewhere, gamehost moves to the module's folder when that one has them.
void MoveToResources(const GameModule& module, bool verbose) {
  fs::path moduleFolder = fs::absolute(module.Path()).parent_path();
  if (fs::is_directory("games") || !fs::is_directory(moduleFolder / "games")) return;
  fs::current_path(moduleFolder);
  if (verbose) std::printf("working folder: %s\n", moduleFolder.c_str());
}

[[noreturn]] void GameDidNotStart(IGame& game, const GameModule& module) {
  std::string datafile = "games/" + module.Stem() + "/" + module.Stem() + ".dat";
  std::string folder = fs::current_path().string();
  std::string what = fs::exists(datafile)
                         ? datafile + " in " + folder + " was not accepted (damaged or wrong?)"
                         : "no " + datafile + " in the working folder " + folder;
  throw HostError(kExitGameDidNotStart,
                  std::string(game.GetName()) + " did not start: " + what +
                      "; run gamehost from the folder that holds the game's games/ folder");
}

void SaveScreenshot(BITMAP* picture, const std::string& file) {
  // At 24 bits: a 32-bit picture would be saved with Allegro's unused alpha
  // byte as the PNG's alpha channel, fully transparent.
  std::unique_ptr<BITMAP, void (*)(BITMAP*)> opaque(create_bitmap_ex(24, 640, 480), destroy_bitmap);
  blit(picture, opaque.get(), 0, 0, 0, 0, 640, 480);
  PALETTE palette;
  get_palette(palette);
  if (save_bitmap(file.c_str(), opaque.get(), palette) != 0) {
    throw HostError(kExitScreenshot, "can't save the screenshot to '" + file +
                                         "' (use .png, .bmp, .pcx or .tga in a writable folder)");
  }
  std::printf("screenshot: %s\n", file.c_str());
}

int Play(const GameModule& module, const Options& options) {
  auto game = module.NewGame();
  game->SetPath(module.Path().c_str());
  std::string screenshot =
      options.screenshot.empty() ? "" : fs::absolute(options.screenshot).string();
  MoveToResources(module, options.verbose);
  SessionReport report;
  {
    Screen screen(std::string(game->GetName()) + " " + game->GetVersion(), options.fullscreen,
                  options.verbose);
    register_png_file_type();
    std::unique_ptr<BITMAP, void (*)(BITMAP*)> picture(create_bitmap(640, 480), destroy_bitmap);
    if (picture == nullptr) throw HostError(kExitNoGraphics, "no memory for a 640x480 picture");
    clear_bitmap(picture.get());  // what a screenshot shows if no frame was drawn
    if (!game->Init()) {
      game->Shutdown();
      GameDidNotStart(*game, module);
    }
    std::unique_ptr<Player> player;
    if (options.autoplay) {
      player = std::make_unique<AutoPlayer>(options.seed);
    } else {
      player = std::make_unique<MousePlayer>();
    }
    report = RunGameLoop(*game, screen, *player, picture.get(), options);
    int32_t best = game->GetScore();
    game->Shutdown();
    game.reset();
    // The game's clock runs on Allegro's timer: take it down before the
    // module goes.
    remove_timer();
    if (!screenshot.empty()) SaveScreenshot(picture.get(), screenshot);
    std::printf("best score %d, %ld misses in %ld frames\n", best, report.misses, report.frames);
  }
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Options options = ParseOptions(argc, argv);
    if (options.validate) {
      if (options.module.empty()) throw HostError(kExitUsage, "--validate needs a MODULE");
      return RunValidator(options);
    }
    GameModule module(options.module.empty() ? DefaultModulePath() : options.module);
    return options.info ? PrintInfo(module) : Play(module, options);
  } catch (const HostError& error) {
    std::fprintf(error.status == kExitOk ? stdout : stderr, "%s%s\n",
                 error.status == kExitOk ? "" : "gamehost: ", error.what());
    return error.status;
  }
}
END_OF_MAIN()
