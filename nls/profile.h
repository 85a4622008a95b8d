// Initialization files read as the platform's profile calls read them, from
// the file's text in one code page. The launcher reads a language file so
// where the machine's code page is not the language's; nlscheck reads every
// file so, to tell what the platform will find. No library beyond the
// memory and string routines that setup.exe brings.
//
// Lines end in CR+LF, LF or CR; the text steps by characters, so a lead
// byte of a double-byte code page takes the next byte with it, a line end
// too. Blanks around a line, around a name and before a value are dropped.
// "[name]" opens a section (the last "]" closes it); any other line is a
// key, up to its first "=". Names match without regard to the case of
// ASCII letters; keys before the first header are in a section with the
// empty name. The first section of a name is the only one searched, and the
// first key of a name in it wins, with or without an "=".
#ifndef NLS_PROFILE_H
#define NLS_PROFILE_H

#include <cstddef>

// The ANSI code page that the platform reads UTF-8 in.
const unsigned kCodePageUtf8 = 65001;

// Blanks of a line: space, tab to carriage return, and 0x1A, the
// end-of-file mark of old editors.
bool IsProfileBlank(unsigned char c);

// The bytes of the character at p, before end: two for a lead byte of a
// double-byte code page (932, 936, 949, 950), a whole sequence in UTF-8,
// else one.
size_t ProfileCharLength(unsigned codePage, const char* p, const char* end);

// One line of a file.
struct ProfileLine {
    enum Kind { kEmpty, kSection, kKey } kind;
    size_t start;             // where the line begins in the text
    size_t end;               // where its line end begins (the text's size if none)
    const char* name;         // the section's or the key's, blanks dropped
    size_t nameLength;
    const char* value;        // a key's, after its "=", blanks dropped
    size_t valueLength;
    bool hasValue;            // the key has an "="
};

// Reads the line that begins at pos and moves pos past its end; false at
// the end of the text.
bool NextProfileLine(const char* text, size_t size, unsigned codePage, size_t& pos, ProfileLine& line);

// The key that GetPrivateProfileString finds; false when the section or
// the key is absent. Blanks around the names asked for are dropped.
bool FindProfileKey(const char* text, size_t size, unsigned codePage, const char* section, const char* key,
                    ProfileLine& found);

// A value as GetPrivateProfileStringA gives it in a buffer of capacity
// bytes: up to its first zero byte, without the quotes when both ends
// bear the same one, at most capacity - 1 characters and no more than
// capacity - 1 bytes of whole ones, zero-terminated. Returns its length.
size_t CopyProfileValue(const char* value, size_t length, unsigned codePage, char* buffer, size_t capacity);

// The byte-order mark a file begins with.
enum ProfileMark { kNoMark, kUtf8Mark, kUtf16LEMark, kUtf16BEMark };
ProfileMark ProfileMarkOf(const char* bytes, size_t size);
// The length of a mark.
size_t ProfileMarkLength(ProfileMark mark);

#endif
