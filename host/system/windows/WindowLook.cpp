#include "WindowLook.h"

// Allegro's window on Windows takes its icon from a resource of the program
// itself ("allegro_icon"), and the window class is Allegro's: there is
// nothing to set from a file at run time, so the system's default icon shows.
void SetWindowLook(const std::string&) {}

void FinishWindowLook() {}
