// ProfileFile: an initialization file read the way the platform's profile
// calls read it, so that the launcher's lookups can be answered, and
// explained, without Windows.
//
// Lines end in CR+LF, LF or CR. Blanks around a line, around a key's name
// and before its value are dropped. "[name]" opens a section (the last "]"
// closes it); any other line is a key, up to its first "=". Sections and
// keys match without regard to case; keys before the first header are in
// a section with the empty name. The first section of a name is the only
// one searched, and the first key of a name in it wins. A value keeps its
// inner blanks; quotes are taken off when both ends bear the same one.
//
// The platform reads the file through Unicode: a file with a byte-order
// mark is decoded and brought to the machine's code page (a near
// character or "?" for what it lacks); any other is read in that code
// page, where a lead byte takes the next byte with it, a line end too,
// and bytes that are no character turn into the code page's default
// character.
#ifndef NLSCHECK_PROFILE_H
#define NLSCHECK_PROFILE_H

#include "nls/profile.h"

#include <cstddef>
#include <string>
#include <vector>

struct ProfileKey {
    std::string name;
    std::string value;  // as written, quotes and all
    bool hasValue;      // the line has an "="
    int line;
};

struct ProfileSection {
    std::string name;
    int line;
    std::vector<ProfileKey> keys;
};

enum ProfileEncoding { kAnsi, kUtf8, kUtf16LE, kUtf16BE };

// Something the reading changed or could not show, on a line of the file.
struct ProfileNote {
    enum Kind {
        kNotInCodePage,  // a character of a UTF file that the code page lacks; read as a near one or "?"
        kNoCharacter,    // a byte no character of the code page stands for
        kBadSequence,    // a lead byte and a byte that are no character together
        kLineEndTaken,   // a lead byte took the line end: the next line joins this one
    };
    Kind kind;
    int line;
    char32_t ch;        // kNotInCodePage
    std::string bytes;  // kNotInCodePage: what is read instead; the others: the bytes as written
};

class ProfileFile {
public:
    // Reads a file's bytes on a machine of the given ANSI code page.
    ProfileFile(const std::string& bytes, unsigned codePage);

    // The key a lookup finds, or null when the section or key is absent.
    const ProfileKey* Find(const std::string& section, const std::string& key) const;

    // What GetPrivateProfileStringA gives with the empty default and a
    // buffer of `capacity` bytes: at most capacity - 1 characters, and no
    // more than capacity - 1 bytes of whole characters.
    std::string Read(const std::string& section, const std::string& key, size_t capacity) const;

    ProfileEncoding Encoding() const { return m_encoding; }
    unsigned CodePage() const { return m_codePage; }
    const std::vector<ProfileSection>& Sections() const { return m_sections; }
    const std::vector<ProfileNote>& Notes() const { return m_notes; }

private:
    std::string FromUnicode(const std::u32string& text);
    std::string AsThePlatformReads(const std::string& bytes, std::vector<size_t>& linesTaken);
    void Parse(const std::string& text, const std::vector<size_t>& linesTaken);

    ProfileEncoding m_encoding;
    unsigned m_codePage;
    std::vector<ProfileSection> m_sections;
    std::vector<ProfileNote> m_notes;
};

#endif
