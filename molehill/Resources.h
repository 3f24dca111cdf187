// Molehill's datafile: where it is and what it holds, object by object.
#ifndef MOLEHILL_RESOURCES_H
#define MOLEHILL_RESOURCES_H

#include <allegro.h>

// Resolved against the working folder, where hosts keep games/<module>/.
constexpr const char* kDatafilePath = "games/molehill/molehill.dat";

// Objects by position, in the order CMakeLists.txt packs them.
enum Resource {
  kMoleUp,        // looking about
  kMoleBlinking,  // eyes shut: blinking, or ducking away
  kMoleBonked,    // seeing stars
  kMolehill,      // the heap of earth and its hole, drawn into the backdrop
  kMalletRaised,  // swinging up again after a click
  kMalletDown,    // striking the field where the click was
  kHeather,       // a tuft on the moor, drawn into the backdrop
  kPopSound,      // a mole coming up
  kBonkSound,     // a mole bonked
  kEscapeSound,   // a mole gone with a snigger
  kResourceCount,
};

// Where the pictures meet the field: the molehill's row that its hole's
// front lip is drawn in, and the mallet's point that strikes the click.
constexpr int kMolehillLipRow = 9;
constexpr int kMalletStrikeX = 7, kMalletStrikeY = 26;

// True when the datafile holds every object above, of its kind, the
// pictures in the depth they are drawn into, none over 64 pixels a side,
// and the moles the size the rules bonk them by, so a wrong file can't make
// the game read past one.
bool HoldsGameResources(const DATAFILE* data, int drawingDepth);

#endif
