#include "GamehostStart.h"

#include <allegro.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "AllegroStart.h"
#include "HostError.h"
#include "System.h"

namespace {

// The sound libraries Allegro tries print their own complaints while it
// looks for a device (ALSA's "Invalid CTL default"); gamehost says it once,
// in its own words.
class StderrSilenced {
 public:
  StderrSilenced() : saved_(dup(STDERR_FILENO)) {
    std::fflush(stderr);
    const int devNull = open(NullDevice(), O_WRONLY);
    if (saved_ >= 0 && devNull >= 0) dup2(devNull, STDERR_FILENO);
    if (devNull >= 0) close(devNull);
  }
  ~StderrSilenced() {
    if (saved_ < 0) return;
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  StderrSilenced(const StderrSilenced&) = delete;
  StderrSilenced& operator=(const StderrSilenced&) = delete;

 private:
  int saved_;
};

// Installs sound (the digital driver, no MIDI). False when the game will be
// silent, which the messages say on stderr.
bool InstallSound(SoundMessages messages) {
  int status;
  {
    const StderrSilenced quiet;
    status = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
  }
  // When no driver can open a device, autodetection settles on the silent
  // driver and succeeds, allegro_error keeping the last driver's reason.
  if (status != 0 || digi_card == DIGI_NONE) {
    const std::string reason = allegro_error[0] != '\0' ? allegro_error : "no driver said why";
    const bool noDevice = status == 0 && !SoundDeviceExpected();
    if (messages != SoundMessages::kNone) {
      std::fprintf(stderr, "gamehost: %s: %s; playing silently\n",
                   noDevice ? "no sound device" : "the sound device failed to open",
                   reason.c_str());
    }
    return false;
  }
  if (messages == SoundMessages::kVerbose) {
    std::printf("sound: %s (%s)\n", digi_driver->name, digi_driver->desc);
  }
  return true;
}

}  // namespace

bool StartAllegroAsGamehost(const std::function<bool()>& openScreen, SoundMessages messages) {
  if (!StartAllegroLibrary()) {
    const std::string reason = allegro_error[0] != '\0' ? std::string(": ") + allegro_error : "";
    throw HostError(kExitNoGraphics,
                    "can't start Allegro" + reason + " (" + GraphicsAdvice() + ")");
  }
  install_keyboard();
  install_mouse();
  install_timer();
  if (!openScreen()) return false;
  InstallSound(messages);
  return true;
}
