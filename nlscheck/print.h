// The report, for a person at a terminal or for a program.
#ifndef NLSCHECK_PRINT_H
#define NLSCHECK_PRINT_H

#include "check.h"

#include <string>

struct PrintStyle {
    bool quiet;     // findings only
    bool colour;    // ANSI colours for warnings, errors and headings
    bool utf8;      // texts shown as UTF-8 rather than in the code page
};

// The whole report as a person reads it.
std::string FormatReport(const Report& report, const PrintStyle& style);

// One fact a line, fields split by tabs; "\", tab, CR and LF escaped as
// \\, \t, \r, \n. Texts keep the code page's bytes.
//   entry    LINE CODE KEPT NUMBER VALUE STATUS
//   locale   LOCALE DEFAULT CURRENT
//   text     LOCALE SECTION KEY current|default|missing FILE LINE VALUE
//   install  LOCALE COMMAND      (no COMMAND: no installer is started)
//   readme   LOCALE COMMAND      (no COMMAND: Notepad is not started)
//   warning|error  FILE LINE MESSAGE
std::string FormatMachine(const Report& report);

// Undoes FormatMachine's escapes in one field.
std::string UnescapeField(const std::string& field);

#endif
