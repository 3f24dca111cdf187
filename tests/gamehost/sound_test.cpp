// The spawn sound as a player hears it: gamehost through a real ALSA driver
// writing what it plays to a WAV file, compared with Allegro's mixing of the
// sample the game's datafile holds.
#include <allegro.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "AllegroMix.h"
#include "Command.h"
#include "WavFile.h"
#include "WorkingFolder.h"

namespace fs = std::filesystem;

namespace {

const std::string kGamehost = FLINTMOOR_GAMEHOST_PATH;
// As the game plays it: full volume, far left.
constexpr int kVolume = 255, kPan = 0;
// -6 dBFS: room for a second sound at the same moment.
const double kHeadroomPeak = 32768 * std::pow(10.0, -6 / 20.0);

struct DatafileUnloader {
  void operator()(DATAFILE* data) const { unload_datafile(data); }
};
using Datafile = std::unique_ptr<DATAFILE, DatafileUnloader>;

// The game's datafile, loaded as the game loads it, and its one sample.
class SoundTest : public testing::Test {
 protected:
  void SetUp() override {
    data_.reset(load_datafile("games/flintmoor/flintmoor.dat"));
    ASSERT_NE(data_, nullptr);
    for (DATAFILE* object = data_.get(); object->type != DAT_END; ++object) {
      if (object->type == DAT_SAMPLE) sample_ = static_cast<SAMPLE*>(object->dat);
    }
    ASSERT_NE(sample_, nullptr);
    ASSERT_EQ(sample_->bits, 16);
    ASSERT_FALSE(sample_->stereo);
  }

  Datafile data_;
  const SAMPLE* sample_ = nullptr;
};

// gamehost with an ALSA configuration of its own and nothing else changed.
Outcome RunGamehostWithAlsa(const std::string& configuration, const std::string& arguments) {
  return RunCommand("ALSA_CONFIG_PATH=" + configuration + " " + kGamehost + " " + arguments);
}

void Write(const std::string& file, const std::string& text) {
  std::ofstream(file) << text;
}

// ALSA's own file plugin as the default device: what is played goes to a
// 16-bit WAV file, through a null device that needs no sound card.
std::string RecordingConfiguration(const std::string& wav) {
  return "pcm.!default {\n"
         "  type plug\n"
         "  slave.pcm {\n"
         "    type file\n"
         "    file \"" +
         wav +
         "\"\n"
         "    format wav\n"
         "    slave.pcm { type null }\n"
         "  }\n"
         "  slave.format S16_LE\n"
         "}\n";
}

// The left channel of one voice alone, from its first frame to its last.
std::vector<int> OneVoice(const SAMPLE& sample, int mixRate) {
  AllegroMix alone(mixRate, VoiceFrames(sample, mixRate));
  alone.Add(sample, kVolume, kPan, 0);
  std::vector<int> frames;
  for (size_t i = 0; i < alone.Frames(); ++i) frames.push_back(alone.Output(0, i));
  return frames;
}

// Where each sound in a recording starts: from the first frame heard on, the
// frame at which one voice's output, taken away, leaves the least behind.
// Each sound found is taken away before looking for the next. A recording
// unlike the sample gives starts that don't add up to it, up to a bound.
std::vector<size_t> FindSounds(std::vector<int> rest, const std::vector<int>& voice) {
  constexpr int kRounding = 2;  // overlapping voices are rounded once, not each
  constexpr size_t kMostSounds = 100;
  const auto audible = [](int v) { return std::abs(v) > kRounding; };
  const size_t lead = size_t(std::find_if(voice.begin(), voice.end(), audible) - voice.begin());
  std::vector<size_t> starts;
  for (auto it = std::find_if(rest.begin(), rest.end(), audible);
       it != rest.end() && starts.size() < kMostSounds;
       it = std::find_if(it + 1, rest.end(), audible)) {
    const size_t heard = size_t(it - rest.begin());
    size_t best = heard;
    long bestLeft = -1;
    for (size_t start = heard >= lead ? heard - lead : 0; start <= heard; ++start) {
      long left = 0;
      for (size_t k = 0; k < voice.size() && start + k < rest.size(); ++k) {
        left += std::abs(rest[start + k] - voice[k]);
      }
      if (bestLeft < 0 || left < bestLeft) bestLeft = left, best = start;
    }
    for (size_t k = 0; k < voice.size() && best + k < rest.size(); ++k) rest[best + k] -= voice[k];
    starts.push_back(best);
  }
  return starts;
}

TEST_F(SoundTest, TheSampleFadesToSilenceAndIsShort) {
  const auto* data = static_cast<const uint16_t*>(sample_->data);
  // The mixer steps from the last sample to silence: a step of a few LSB
  // at most is no click.
  const int last = int(data[sample_->len - 1]) - 0x8000;
  EXPECT_LE(std::abs(last), 4) << "the sample ends at " << last;
  EXPECT_LT(double(sample_->len) / sample_->freq, 0.5);
}

// Late in a game sounds come faster than they end: four of them 20 ms apart
// must still fit in 16 bits.
TEST_F(SoundTest, FourVoicesTwentyMillisecondsApartDoNotClip) {
  constexpr int kMixRate = 44100;
  const size_t apart = kMixRate / 50;
  AllegroMix four(kMixRate, VoiceFrames(*sample_, kMixRate) + 3 * apart);
  for (size_t voice = 0; voice < 4; ++voice) four.Add(*sample_, kVolume, kPan, voice * apart);
  EXPECT_FALSE(four.Clips());
  int peak = 0;
  for (size_t i = 0; i < four.Frames(); ++i)
    peak = std::max(peak, std::abs(int(four.Output(0, i))));
  RecordProperty("four_voice_peak", peak);
}

// How loud the recording is, from a frame on, against one voice: 1 is the
// voice's own level.
double LevelAgainst(const std::vector<int>& recording, size_t start,
                    const std::vector<int>& voice) {
  double both = 0, alone = 0;
  for (size_t k = 0; k < voice.size() && start + k < recording.size(); ++k) {
    both += double(recording[start + k]) * voice[k];
    alone += double(voice[k]) * voice[k];
  }
  return alone > 0 ? both / alone : 0;
}

// Checks a recording of a game: every sound in it is the whole sample at the
// level Allegro gives full volume far left, nothing is on the right and
// nothing clipped. Answers how many sounds it heard.
size_t CheckRecording(const Wav& played, const SAMPLE& sample) {
  if (played.channels != 2) {
    ADD_FAILURE() << "a recording in " << played.channels << " channels";
    return 0;
  }
  const std::vector<int16_t> right = played.Channel(1);
  EXPECT_TRUE(std::all_of(right.begin(), right.end(), [](int16_t v) { return v == 0; }))
      << "pan 0 is the far left; the right channel peaks at "
      << *std::max_element(right.begin(), right.end());
  const std::vector<int16_t> leftSamples = played.Channel(0);
  const std::vector<int> left(leftSamples.begin(), leftSamples.end());
  const std::vector<int> voice = OneVoice(sample, played.rate);
  const std::vector<size_t> starts = FindSounds(left, voice);
  if (starts.empty()) return 0;
  EXPECT_LE(starts.front() + voice.size(), left.size()) << "no sound ends inside the recording";

  AllegroMix expected(played.rate, left.size());
  for (size_t start : starts) expected.Add(sample, kVolume, kPan, start);
  size_t differs = 0;
  while (differs < left.size() && expected.Output(0, differs) == left[differs]) ++differs;
  if (differs < left.size()) {
    const size_t sound = *std::prev(std::upper_bound(starts.begin(), starts.end(), differs));
    ADD_FAILURE() << starts.size() << " whole sounds at full volume far left don't make the "
                  << "recording: at frame " << differs << " it holds " << left[differs] << " for "
                  << expected.Output(0, differs) << "; the sound from frame " << sound << " is at "
                  << LevelAgainst(left, sound, voice) << " of the sample's level";
  }
  EXPECT_FALSE(expected.Clips());
  EXPECT_TRUE(std::none_of(left.begin(), left.end(), [](int v) {
    return v <= -32768 || v >= 32767;
  })) << "a recorded frame at full scale: clipped";
  return starts.size();
}

// gamehost plays games through ALSA's file plugin until several sounds were
// heard. Each recording holds only whole sounds as Allegro mixes the sample
// (CheckRecording), and one sound alone stays 6 dB under full scale.
// --verbose names the driver it got.
TEST_F(SoundTest, ThroughAlsaEachSoundIsTheWholeSampleFarLeftWithHeadroom) {
  const TemporaryFolder folder;
  ASSERT_FALSE(folder.Path().empty());
  const std::string recording = folder.Path() + "/played.wav";
  const std::string configuration = folder.Path() + "/asound.conf";
  Write(configuration, RecordingConfiguration(recording));
  // About one spawn in three is heard, and the first spawn of a game comes
  // after 1.25 s: a quarter-minute game hears a few, mostly.
  constexpr int kSessions = 4;
  constexpr size_t kSeveral = 3;
  size_t heard = 0;
  int sampleRate = 0;
  for (int session = 1; session <= kSessions && heard < kSeveral; ++session) {
    SCOPED_TRACE("game " + std::to_string(session));
    fs::remove(recording);
    const Outcome game = RunGamehostWithAlsa(configuration, "--autoplay --frames 900 --verbose");
    ASSERT_EQ(game.status, 0) << game.output;
    EXPECT_TRUE(Says(game, "sound: ALSA")) << game.output;
    const Wav played = ReadWav(recording);
    sampleRate = played.rate;
    heard += CheckRecording(played, *sample_);
  }
  RecordProperty("sounds", int(heard));
  ASSERT_GE(heard, 1u) << "nothing heard in " << kSessions << " games";

  const std::vector<int> voice = OneVoice(*sample_, sampleRate);
  const int peak = std::abs(*std::max_element(
      voice.begin(), voice.end(), [](int a, int b) { return std::abs(a) < std::abs(b); }));
  RecordProperty("peak", peak);
  EXPECT_LE(peak, kHeadroomPeak) << "one sound peaks at " << 20 * std::log10(peak / 32768.0)
                                 << " dBFS";
}

// Without sound gamehost plays on, saying why in one line: here a device
// configured but impossible to open.
TEST(SoundMessageTest, AConfiguredDeviceThatFailsToOpenIsNamedAsSuch) {
  const TemporaryFolder folder;
  const std::string configuration = folder.Path() + "/asound.conf";
  Write(configuration, "pcm.!default { type hw card 31 }\n");
  const Outcome silent = RunGamehostWithAlsa(configuration, "--autoplay --frames 5");
  EXPECT_EQ(silent.status, 0) << silent.output;
  EXPECT_TRUE(Says(silent,
                   "gamehost: the sound device failed to open: Can not open card/pcm device; "
                   "playing silently\n"))
      << silent.output;
  EXPECT_EQ(std::count(silent.output.begin(), silent.output.end(), '\n'), 3)
      << "the reason, the round and the score: " << silent.output;
}

TEST(SoundMessageTest, NoDeviceAtAllIsNamedAsSuch) {
  if (fs::exists("/dev/snd") || fs::exists("/etc/asound.conf")) {
    GTEST_SKIP() << "this machine has a sound device or an ALSA configuration";
  }
  const TemporaryFolder home;
  const Outcome silent = RunCommand("env -u ALSA_CONFIG_PATH HOME=" + home.Path() + " " +
                                    kGamehost + " --autoplay --frames 5");
  EXPECT_EQ(silent.status, 0) << silent.output;
  EXPECT_TRUE(Says(silent, "gamehost: no sound device: ")) << silent.output;
}

}  // namespace
