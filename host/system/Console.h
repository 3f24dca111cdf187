// Where the program's words go: a terminal, a console, or, for a Windows
// program started from the desktop, a message box. Each system answers in
// its own folder.
#ifndef FLINTMOOR_HOST_CONSOLE_H
#define FLINTMOOR_HOST_CONSOLE_H

#include <string>

// Makes stdout and stderr reach the console the program was started from,
// where they reach nothing yet: a Windows program (no console of its own,
// so none opens on a double-click) attaches to its parent's. Output that
// goes to a file or a pipe stays there.
void UseParentConsole();

// Says why the program can't go on: one line on stderr, or, where stderr
// reaches no one (a Windows program started from the desktop), in a
// message box titled `title`.
void ReportFatal(const std::string& title, const std::string& line);

#endif
