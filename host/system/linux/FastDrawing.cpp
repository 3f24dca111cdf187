#include "FastDrawing.h"

// Allegro's X driver draws at full speed as it is.
std::optional<int> RunAgainWithFastDrawing() {
  return std::nullopt;
}
