// A structural check of a datafile before Allegro loads it. Allegro's loader
// trusts the sizes in the file: a file cut short makes it read past the data
// and crash the host. This walks the same structure with every size checked
// against what is really there.
#ifndef FLINTMOOR_GAME_DATAFILECHECK_H
#define FLINTMOOR_GAME_DATAFILECHECK_H

// True when the file at path is an Allegro datafile (compressed or not)
// whose objects and properties all lie wholly inside it.
bool IsWholeDatafile(const char* path);

#endif
