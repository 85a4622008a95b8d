// The built setup.exe, as the test programs get it from their command line.
#ifndef TESTS_GUI_TESTPATH_H
#define TESTS_GUI_TESTPATH_H

#include <string>

// A Unix path ("/work/...") as Wine's drive Z: sees it; others unchanged.
inline std::string WindowsPath(std::string path)
{
    if (path.empty() || path[0] != '/')
        return path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return "Z:" + path;
}

// Set by main from the first argument that GoogleTest leaves.
extern std::string g_setupExe;

#endif
