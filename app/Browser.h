// Opening a help page or a web address in the user's browser: the program named by the
// environment variable BROWSER, else the desktop's opener (xdg-open). The target is handed to
// the program as one argument, never through a shell, so a path with blanks, quotes or ";"
// opens that path and runs nothing else.
#pragma once

#include <string>

// The program that shows pages: $BROWSER when set and not empty, else "xdg-open".
std::string BrowserProgram();

// Starts the browser on `target` without waiting for it; false when it cannot be started (the
// caller then shows kBrowserNotDefined).
bool OpenInBrowser(const std::string& target);

// The help index of a language (1036 French, 2057 English, any other id French): the installed
// page when there is one, else the copy in the source tree (a program run from its build
// folder).
std::string HelpIndexPath(int language);
// The program's home page ("WWW ..."), found the same way.
std::string HomePagePath();
