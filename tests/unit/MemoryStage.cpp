#include "MemoryStage.h"

#include <allegro.h>

#include <stdexcept>

#include "IGame.h"

bool Shown::Says(const std::string& text) const {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

MemoryStage::MemoryStage(int fps)
    : period_(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / fps),
      now_(Clock::now()),
      drawn_(create_bitmap(kGamePictureWidth, kGamePictureHeight)) {}

void MemoryStage::Show(BITMAP*, const StatusLine& status, const Pointer&) {
  Shown frame;
  frame.status = status;
  Next(frame);
}

void MemoryStage::Show(const Card& card, const StatusLine& status) {
  DrawCard(drawn_.get(), card);
  Shown frame;
  frame.card = true;
  for (const CardLine& line : card.lines) frame.lines.push_back(line.text);
  frame.lines.push_back(card.footer);
  frame.status = status;
  Next(frame);
}

void MemoryStage::Next(Shown frame) {
  frame.frame = long(shown.size()) + 1;
  if (frame.frame > framesLimit) throw std::runtime_error("the session never ended");
  now_ += period_;
  shown.push_back(frame);
  if (person) person(shown.back());
}

Key MemoryStage::NextKey() {
  if (keys_.empty()) return Key::kNone;
  const Key key = keys_.front();
  keys_.pop_front();
  return key;
}
