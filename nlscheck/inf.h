// What the package's INF file does that the launcher's entry depends on.
#ifndef NLSCHECK_INF_H
#define NLSCHECK_INF_H

#include <string>

struct InfFacts {
    bool hasDefaultInstall;  // the section the launcher has installed
    int uninstallStringLine; // its AddReg line for UninstallString under the entry's key; 0 if none
    int displayNameLine;     // the same for DisplayName, which replaces the launcher's
};

// Reads an INF file: sections, ";" comments, quoted fields, "\" at a line's
// end joining the next, %name% from [Strings].
InfFacts ReadInf(const std::string& bytes, const std::string& uninstallKey);

#endif
