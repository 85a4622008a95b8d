#include "commands.h"

static CString Quoted(const char* path)
{
    CString text("\"");
    text += path;
    text += "\"";
    return text;
}

const char* InstallerLibrary(bool ntFamily)
{
    return ntFamily ? "setupapi.dll" : "setupx.dll";
}

CString InstallCommand(const char* rundll32Path, const char* library, const char* directory,
                       const char* infName)
{
    CString command = Quoted(rundll32Path);
    command += " ";
    command += library;
    command += ",InstallHinfSection DefaultInstall 130 ";
    command += directory;
    command += "\\";
    command += infName;
    return command;
}

CString ReadmeCommand(const char* notepadPath, const char* readmePath)
{
    CString command = Quoted(notepadPath);
    command += " ";
    command += readmePath;
    return command;
}
