// Builds resource datafiles for tests with Allegro's own dat tool, from the
// game's pictures and sound as the build made them.
#ifndef FLINTMOOR_TESTS_DATAFILES_H
#define FLINTMOOR_TESTS_DATAFILES_H

#include <cstddef>
#include <cstdint>
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

// Datafiles written field by field, for shapes dat never makes. Numbers are
// big-endian, as Allegro's loader reads them.
std::string Long(uint32_t value);
std::string Word(uint16_t value);
// A datafile: the plain packfile header, the signature, then a count and
// the given objects (each with its properties before it).
std::string Datafile(uint32_t count, const std::string& objects);
// One object of a type (e.g. "BMP "), its body stored as is.
std::string Object(const std::string& type, const std::string& body);
// One object with its two size fields given apart from its body.
std::string Object(const std::string& type, uint32_t stored, uint32_t loaded,
                   const std::string& body);
// One object with its body packed (see Packed).
std::string PackedObject(const std::string& type, const std::string& body);
// A property before an object.
std::string Property(const std::string& type, const std::string& text);
// Bodies of a bitmap and a sample, with as many pixel or sample bytes as the
// header asks for (or `bytes` when given).
std::string BitmapBody(int16_t depth, uint16_t width, uint16_t height, size_t bytes = SIZE_MAX);
std::string SampleBody(int16_t bits, uint16_t frequency, uint32_t length, size_t bytes = SIZE_MAX);
// Bytes in Allegro's LZSS format, every byte a literal.
std::string Packed(const std::string& bytes);
// LZSS that unpacks to `copies` runs of 18 zero bytes, 144 per 17 bytes.
std::string PackedZeros(size_t copies);

#endif
