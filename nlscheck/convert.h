// Writing a package's language files from UTF-8 sources: each file in the
// ANSI code page of the locales that reach its language, so that the
// launcher shows its texts right on every system.
#ifndef NLSCHECK_CONVERT_H
#define NLSCHECK_CONVERT_H

#include "check.h"

#include <string>
#include <vector>

struct Conversion {
    // Errors refuse the whole conversion: nothing is written then.
    std::vector<Finding> findings;
    std::vector<std::string> written;  // "NLS/STR.RUS in code page 1251 (Cyrillic)"
    std::vector<std::string> unchanged;
    std::vector<std::string> skipped;  // sources that no table entry reaches

    bool Refused() const;
};

// Converts every PROJ.<code> and STR.<code> file of `sources` (UTF-8, or
// UTF-8 or UTF-16 with a byte-order mark) into the package's NLS folder,
// by the package's language table. Each file goes to a temporary file
// first; they replace the package's files only once all are written.
Conversion ConvertSources(const std::string& sources, const std::string& package);

// A file's text in a code page, or an error for each character that has
// no place in it (named by the file and line).
bool EncodeFile(const std::string& bytes, unsigned codePage, const std::string& shownName, std::string& out,
                std::vector<Finding>& findings);

#endif
