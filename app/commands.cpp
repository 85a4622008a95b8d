#include "commands.h"

static CString Quoted(const char* path)
{
    CString text("\"");
    text += path;
    text += "\"";
    return text;
}

CString InstallCommand(const char* rundll32Path, bool ntFamily, const char* directory, const char* infName)
{
    CString command = Quoted(rundll32Path);
    command += ntFamily ? " setupapi.dll,InstallHinfSection DefaultInstall 132 "
                        : " setupx.dll,InstallHinfSection DefaultInstall 130 ";
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
