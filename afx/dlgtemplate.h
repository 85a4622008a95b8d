// Reading and adjusting dialog templates in memory (DLGTEMPLATE and
// DLGTEMPLATEEX). Platform-free, so that it is tested natively.
#ifndef AFX_DLGTEMPLATE_H
#define AFX_DLGTEMPLATE_H

#include <cstddef>
#include <cstdint>

struct DialogTemplateHeader {
    uint32_t style;
    int16_t x;
    int16_t y;
};

// The style and position of a template; false if it is cut short.
bool ReadDialogTemplateHeader(const void* tmpl, size_t size, DialogTemplateHeader& header);

// Writes to out a copy of the template whose font has the given face
// (null: the template's), point size (0: the template's) and, in an
// extended template, character set (negative: the template's); the
// controls are kept as they are. Returns the copy's size, or 0 when the
// template names no font, can't be read, or the copy would not fit in
// capacity. out must be aligned to 4 bytes.
size_t SetDialogTemplateFont(const void* tmpl, size_t size, uint16_t pointSize,
                             const char16_t* face, void* out, size_t capacity, int charSet = -1);

#endif
