// Every test process starts Allegro as a host does: the library, then a
// colour depth. Tests that need another depth set it themselves.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "AllegroStart.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The build lists the tests without a display; only running needs Allegro.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  if (!StartAllegroLibrary()) {
    std::fprintf(stderr, "allegro_init failed (no X display?): %s\n", allegro_error);
    return 1;
  }
  set_color_depth(32);
  return RUN_ALL_TESTS();
}
END_OF_MAIN()
