// What the standard pseudo-random generator will answer, for tests that
// control the game's random choices by seeding it.
#ifndef FLINTMOOR_TESTS_RANDOMVALUES_H
#define FLINTMOOR_TESTS_RANDOMVALUES_H

#include <cstdlib>
#include <vector>

// The first `count` values rand() gives after srand(seed); leaves the
// generator seeded with `seed` again.
inline std::vector<int> RandValues(unsigned seed, size_t count) {
  std::srand(seed);
  std::vector<int> values(count);
  for (int& value : values) value = std::rand();
  std::srand(seed);
  return values;
}

#endif
