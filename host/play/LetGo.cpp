#include "LetGo.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

void LetGoOf(std::unique_ptr<GameModule> module, Stage& stage, Player& player) {
  stage.TakeBack();
  player.TakeBack();
  // Nothing of the module's may run once it is gone.
  for (int slot = 0; slot < MAX_TIMERS; ++slot) {
    if (module->Holds(reinterpret_cast<const void*>(_timer_queue[slot].proc))) {
      remove_int(_timer_queue[slot].proc);
    }
    if (module->Holds(reinterpret_cast<const void*>(_timer_queue[slot].param_proc))) {
      remove_param_int(_timer_queue[slot].param_proc, _timer_queue[slot].param);
    }
  }
  for (int voice = 0; voice < 256; ++voice) {
    if (voice_check(voice) != nullptr) deallocate_voice(voice);
  }
  module.reset();
}
