#include "files.h"

#include "codepage.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Characters that no Windows file name holds.
bool IsForbidden(unsigned char c)
{
    return c < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*';
}

std::vector<std::string> Components(const std::string& name, bool& valid)
{
    std::vector<std::string> parts;
    std::string part;
    valid = true;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '\\' || name[i] == '/') {
            while (!part.empty() && part != "." && part != ".." && (part.back() == '.' || part.back() == ' '))
                part.pop_back();
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            if (IsForbidden(static_cast<unsigned char>(name[i])))
                valid = false;
            part += name[i];
        }
    }
    return parts;
}

// The entry of `folder` that `part` names, exact case first. The folder is
// always listed, so that the entry's own spelling is returned.
std::string Entry(const fs::path& folder, const std::string& part)
{
    if (part == "." || part == "..")
        return part;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().u8string());
    std::sort(names.begin(), names.end());
    for (const std::string& n : names)
        if (n == part)
            return n;
    for (const std::string& n : names)
        if (SameLetters(n, part))
            return n;
    return std::string();
}

std::string Resolve(const std::string& folder, const std::string& windowsName, bool wantFolder)
{
    bool valid;
    std::vector<std::string> parts = Components(windowsName, valid);
    if (!valid || parts.empty())
        return std::string();
    fs::path path = fs::u8path(folder), relative;
    for (const std::string& part : parts) {
        std::string entry = Entry(path, part);
        if (entry.empty())
            return std::string();
        path /= fs::u8path(entry);
        relative /= fs::u8path(entry);
    }
    std::error_code ec;
    bool ok = wantFolder ? fs::is_directory(path, ec) : fs::is_regular_file(path, ec);
    return ok ? relative.make_preferred().u8string() : std::string();
}

}

std::string ResolveName(const std::string& folder, const std::string& windowsName)
{
    return Resolve(folder, windowsName, false);
}

std::string ResolveFolder(const std::string& folder, const std::string& windowsName)
{
    return Resolve(folder, windowsName, true);
}

std::string JoinPath(const std::string& folder, const std::string& relative)
{
    return (fs::u8path(folder) / fs::u8path(relative)).u8string();
}

bool ReadFileBytes(const std::string& path, std::string& bytes)
{
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec))
            names.push_back(it->path().filename().u8string());
    std::sort(names.begin(), names.end());
    return names;
}
