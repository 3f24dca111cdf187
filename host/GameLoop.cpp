#include "GameLoop.h"

#include <allegro.h>

#include <chrono>
#include <cstdio>
#include <thread>

SessionReport RunGameLoop(IGame& game, Screen& screen, Player& player, BITMAP* picture,
                          const Options& options) {
  using Clock = std::chrono::steady_clock;
  const auto period =
      std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / options.fps;
  // Further behind than this (a stall, a debugger), the loop stops catching up.
  const auto mostBehind = 5 * period;
  SessionReport report;
  bool drawn = false, wasPressed = false;
  auto next = Clock::now();
  while (!screen.QuitRequested() && (options.frames == 0 || report.frames < options.frames)) {
    MouseInput mouse = player.Next(drawn ? picture : nullptr);
    const bool pressed = mouse.buttons != 0;
    if (options.verbose && pressed && !wasPressed) {
      std::printf("press at (%d, %d) in frame %ld\n", mouse.x, mouse.y, report.frames + 1);
      std::fflush(stdout);
    }
    wasPressed = pressed;
    report.misses += game.Update(0, &mouse) != 0;
    game.Draw(picture);
    drawn = true;
    screen.Show(picture);
    ++report.frames;

    next += period;
    const auto now = Clock::now();
    if (now < next) {
      std::this_thread::sleep_until(next);
    } else if (now - next > mostBehind) {
      next = now;
    }
  }
  return report;
}
