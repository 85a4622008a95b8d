// The command-line operations on any line and any capacity. The first two
// bytes of an input choose the capacity (modulo the line's length + 3, so
// that too small, exact and ample all come up), the rest is the line.
// Checked against a model of the rules written with std::string: the
// silent and the wait answers (a switch counts in the arguments only); the
// size answer (the path read in code page 932), the same for every
// capacity and equal to the copied length + 1; the copy itself; and that
// nothing is written when the capacity is too small or there is no
// backslash.
#include "check.h"
#include "app/cmdline.h"

#include <cstring>
#include <memory>
#include <string>

// Code page 932's lead bytes: a backslash's byte after one is no backslash.
static bool ShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t head = size < 2 ? size : 2;
    size_t choice = 0;
    for (size_t i = 0; i < head; ++i)
        choice |= static_cast<size_t>(data[i]) << (8 * i);
    const char* rest = reinterpret_cast<const char*>(data) + head;
    std::string line(rest, strnlen(rest, size - head));

    // The line in a block of exactly its bytes and zero byte.
    std::unique_ptr<char[]> text(new char[line.size() + 1]);
    std::memcpy(text.get(), line.c_str(), line.size() + 1);

    // The arguments: after a quoted path's closing quote (none without
    // one), else from the first blank.
    std::string arguments;
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        if (close != std::string::npos)
            arguments = line.substr(close + 1);
    } else {
        size_t blank = line.find_first_of(" \t");
        if (blank != std::string::npos)
            arguments = line.substr(blank);
    }
    bool silent = false;
    for (const char* sw : { "/s", "/S", "-s", "-S" })
        silent = silent || arguments.find(sw) != std::string::npos;
    CHECK(IsSilent(text.get()) == silent, "silent should be %d", silent);
    bool wait = false;
    for (const char* sw : { "/w", "/W", "-w", "-W" })
        wait = wait || arguments.find(sw) != std::string::npos;
    CHECK(WaitsForInstaller(text.get()) == wait, "wait should be %d", wait);

    std::string path = line;
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        path = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    size_t backslash = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\')
            backslash = i;
        else if (ShiftJisLeadByte(static_cast<unsigned char>(path[i])))
            ++i;
    }
    std::string directory = backslash == std::string::npos ? "" : path.substr(0, backslash);
    size_t expected = backslash == std::string::npos ? 0 : directory.size() + 1;

    size_t answer = ProgramDirectoryOf(text.get(), ShiftJisLeadByte, 0, nullptr);
    CHECK(answer == expected, "size %zu, expected %zu", answer, expected);

    size_t capacity = choice % (line.size() + 3);
    for (unsigned char guard : { 0xA5, 0x5A }) {
        std::unique_ptr<char[]> buffer(new char[capacity]);
        std::memset(buffer.get(), guard, capacity);
        size_t n = ProgramDirectoryOf(text.get(), ShiftJisLeadByte, capacity, buffer.get());
        CHECK(n == answer, "size %zu with capacity %zu, %zu with none", n, capacity, answer);
        size_t written = 0;
        if (answer != 0 && capacity >= answer) {
            CHECK(std::memcmp(buffer.get(), directory.data(), directory.size()) == 0, "wrong directory");
            CHECK(buffer[directory.size()] == '\0', "directory not terminated");
            written = answer;
        }
        for (size_t i = written; i < capacity; ++i)
            CHECK(static_cast<unsigned char>(buffer[i]) == guard,
                  "byte %zu written (capacity %zu, size %zu)", i, capacity, answer);
    }
    return 0;
}
