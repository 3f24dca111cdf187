// Builds resource datafiles for tests with Allegro's own dat tool, from the
// game's pictures and sound as the build made them.
#ifndef FLINTMOOR_TESTS_DATAFILES_H
#define FLINTMOOR_TESTS_DATAFILES_H

#include <string>
#include <vector>

// One object to pack: a file from the build's resource parts and its type.
struct DatObject {
  std::string file;  // e.g. "flying0.bmp", "flush.wav", or an absolute path
  std::string type;  // "BMP" or "SAMP"
};

// The objects of the game's own datafile, in order.
std::vector<DatObject> GameObjects();

// Packs the objects, in order, into a datafile and answers its bytes.
// compression: "-c0" none, "-c1" each object, "-c2" the whole file.
std::string PackDatafile(const std::vector<DatObject>& objects,
                         const std::string& compression = "-c0");

#endif
