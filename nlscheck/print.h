// The report, for a person at a terminal or for a program.
#ifndef NLSCHECK_PRINT_H
#define NLSCHECK_PRINT_H

#include "check.h"

#include <string>

struct PrintStyle {
    bool quiet;     // findings only
    bool colour;    // ANSI colours for warnings, errors and headings
};

// The whole report as a person reads it, in UTF-8: each text converted
// from the code page of the machines it is read on.
std::string FormatReport(const Report& report, const PrintStyle& style);

// One fact a line, fields split by tabs; "\", tab, CR and LF escaped as
// \\, \t, \r, \n. All of it UTF-8: texts as the NT family shows them,
// each converted from the code page of its file there.
//   entry    LINE CODE KEPT NUMBER VALUE STATUS
//   locale   LOCALE DEFAULT CURRENT CODEPAGE  (the ANSI code page of the
//                                  locale's machines)
//   codepage LOCALE CODE nt CODEPAGE locale|table|machine [LOCALE [LINE]]
//                                  (what the NT family decodes the code's
//                                  files in, and whose code page it is:
//                                  the locale's, that of the table's entry
//                                  on LINE, or the machine's)
//   codepage LOCALE CODE 9x CODEPAGE machine  (Windows 9x: the machine's)
//   text     LOCALE SECTION KEY current|default|missing FILE LINE VALUE
//   text9x   LOCALE SECTION KEY VALUE  (what Windows 9x shows instead, in
//                                  the machine's code page; only where it
//                                  differs)
//   reading  LOCALE rtl|ltr     (the dialog mirrored, or as the template is)
//   install  LOCALE COMMAND nt|9x  (one line a system family; no COMMAND:
//                                  no installer is started)
//   readme   LOCALE COMMAND      (no COMMAND: Notepad is not started)
//   wine     LOCALE UNIXLOCALE FONT  (how Wine shows it: the Unix locale
//                                  that gives its language and code page,
//                                  a font with the code page's letters;
//                                  each empty when none is known)
//   warning|error  FILE LINE MESSAGE
std::string FormatMachine(const Report& report);

// Undoes FormatMachine's escapes in one field.
std::string UnescapeField(const std::string& field);

#endif
