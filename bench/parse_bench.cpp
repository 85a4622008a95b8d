// Throughput of the language table parse on tables of 1 MB and 10 MB, and
// how the time grows between the two: three kinds of table, each parsed
// repeatedly; the median time of a parse counts.
#include "nls/langtable.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Many entries, as a real table has a few: codes, numbers, CR+LF and LF
// endings, a default, some indented and empty lines.
std::string Typical(size_t size)
{
    static const char* const lines[] = {
        "ENG 0\r\n", "ENG 0409\r\n", "DEU 0407\n", "DEU 0807\n", "  FRA 040C\n",
        "\n", "ESP 0C0A trailing words\n", "JPN\n0411\n", "ITA 410\r\n",
    };
    std::string text;
    text.reserve(size);
    for (size_t i = 0; text.size() < size; ++i)
        text += lines[i % (sizeof lines / sizeof lines[0])];
    text.resize(size);
    return text;
}

// Random bytes without a zero byte, so that all of them are read.
std::string Garbage(size_t size)
{
    std::string text(size, '\0');
    uint32_t x = 2463534242u;
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        text[i] = static_cast<char>((x & 0xFF) ? (x & 0xFF) : 1);
    }
    return text;
}

// One entry whose number runs to the end: the longest single scan.
std::string OneLine(size_t size)
{
    std::string text = "DEU ";
    text.resize(size, '7');
    return text;
}

double MedianSeconds(const std::string& table, int repeats)
{
    std::vector<double> times;
    LanguageCodes codes;
    unsigned sink = 0;
    for (int i = 0; i < repeats; ++i) {
        auto start = std::chrono::steady_clock::now();
        ParseLanguageTable(table.data(), table.size(), 0x407, codes);
        auto end = std::chrono::steady_clock::now();
        sink += static_cast<unsigned char>(codes.currentCode[0]);
        times.push_back(std::chrono::duration<double>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    if (sink == 0xFFFFFFFF)
        std::puts("");
    return times[times.size() / 2];
}

}

int main()
{
    const size_t mb = 1u << 20;
    struct Kind {
        const char* name;
        std::string (*make)(size_t);
    } kinds[] = { { "typical table", Typical }, { "random bytes", Garbage }, { "one long line", OneLine } };

    std::printf("  %-14s %14s %14s %12s %16s\n", "table", "1 MB (MB/s)", "10 MB (MB/s)", "time ratio",
                "per-byte ratio");
    for (const Kind& kind : kinds) {
        double small = MedianSeconds(kind.make(mb), 41);
        double large = MedianSeconds(kind.make(10 * mb), 11);
        std::printf("  %-14s %14.0f %14.0f %12.2f %16.2f\n", kind.name, 1 / small, 10 / large,
                    large / small, large / small / 10);
    }
    std::printf("  (time ratio = time at 10 MB / time at 1 MB: 10 is linear; per-byte ratio 1.00 is linear)\n");
    std::printf("  (random bytes hold few line breaks, so whole lines are skipped at memory speed: a 1 MB\n"
                "   table stays in the processor's cache, a 10 MB one may not, and reads slower per byte)\n");
    return 0;
}
