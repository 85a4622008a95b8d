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
#ifndef NLSCHECK_PROFILE_H
#define NLSCHECK_PROFILE_H

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

class ProfileFile {
public:
    // Reads a file's bytes. Files that begin with a byte-order mark are
    // decoded and brought to the system code page (Windows-1252 here).
    explicit ProfileFile(const std::string& bytes);

    // The key a lookup finds, or null when the section or key is absent.
    const ProfileKey* Find(const std::string& section, const std::string& key) const;

    // What GetPrivateProfileStringA gives with the empty default and a
    // buffer of `capacity` bytes: at most capacity - 1 characters.
    std::string Read(const std::string& section, const std::string& key, size_t capacity) const;

    ProfileEncoding Encoding() const { return m_encoding; }
    const std::vector<ProfileSection>& Sections() const { return m_sections; }

private:
    ProfileEncoding m_encoding;
    std::vector<ProfileSection> m_sections;
};

bool IsProfileBlank(unsigned char c);

#endif
