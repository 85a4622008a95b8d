// Windows file names found in a folder of the host: the letters' case and
// trailing dots and blanks don't matter, as on Windows.
#include "files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(ResolveName, FindsFilesAsWindowsDoes)
{
    fs::path dir = fs::path(::testing::TempDir()) / "nlscheck_files";
    fs::remove_all(dir);
    fs::create_directories(dir / "Nls" / "sub");
    for (const char* name : { "Nls/Proj.Eng", "Nls/PROJ", "Nls/str.de", "Nls/Both", "Nls/BOTH" })
        std::ofstream(dir / name) << name;

    struct Row {
        const char* name;
        const char* found;  // "" for none
    };
    const Row rows[] = {
        /* 0 */ { "NLS\\PROJ.ENG", "Nls/Proj.Eng" },
        /* 1 */ { "nls/proj.eng", "Nls/Proj.Eng" },
        /* 2 */ { "NLS\\PROJ.", "Nls/PROJ" },
        /* 3 */ { "NLS\\PROJ. .", "Nls/PROJ" },
        /* 4 */ { "NLS.\\STR.DE", "Nls/str.de" },
        /* 5 */ { "NLS\\\\STR.DE", "Nls/str.de" },
        /* 6 */ { "NLS\\STR.D", "" },
        /* 7 */ { "NLS\\PROJ.E?G", "" },
        /* 8 */ { "NLS\\PROJ.EN*", "" },
        /* 9 */ { "NLS\\SUB", "" },
        /* 10 */ { "NLS\\Both", "Nls/Both" },
        /* 11 */ { "NLS\\BOTH", "Nls/BOTH" },
        /* 12 */ { "", "" },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        std::string expected = rows[i].found[0] ? fs::path(rows[i].found).make_preferred().string() : "";
        EXPECT_EQ(expected, ResolveName(dir.string(), rows[i].name)) << "row " << i << ": " << rows[i].name;
    }
    EXPECT_EQ(fs::path("Nls/sub").make_preferred().string(), ResolveFolder(dir.string(), "nls\\SUB."));
}
