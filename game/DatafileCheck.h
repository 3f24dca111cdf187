// The check of the game's datafile before Allegro loads it. Allegro's loader
// trusts every field it reads: sizes that wrap, objects it can't load or
// free, counts and lengths that ask for gigabytes. This reads the file the
// way the loader will, field by field and inside packed data too, and lets
// through only what the game can use, with every size bounded from the
// headers before anything is allocated.
#ifndef FLINTMOOR_GAME_DATAFILECHECK_H
#define FLINTMOOR_GAME_DATAFILECHECK_H

// True when the file at path, read as load_datafile reads it, holds only:
// a packfile header (plain, or packed as a whole), the datafile signature,
// 1 to 16 objects each of which is a bitmap (depth 8, 15, 16, 24 or 32, with
// or without alpha, 1 to 256 pixels a side) or a sample (8 or 16 bits, mono
// or stereo, 1 to 2^20 sample frames, a non-zero frequency), stored plain or
// packed, each body exactly as long as its header says, each before at most
// 8 properties of printable text up to 255 bytes. At most 4 MB on disk and
// 4 MB unpacked in all. Bytes after the last object are never read by the
// loader and are allowed.
bool IsLoadableDatafile(const char* path);

#endif
