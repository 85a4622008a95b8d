#include "texts.h"

const char kLanguageTableFile[] = "NLS\\LANGID.TXT";
const char kProjectFileBase[] = "NLS\\PROJ";
const char kStringFileBase[] = "NLS\\STR";

const LauncherText kLauncherTexts[kTextRoleCount] = {
    { kPackageName, kProjectFileBase, "Proj", "Name" },
    { kQuestion, kStringFileBase, "Translation", "Inst" },
    { kReadmeCaption, kStringFileBase, "Translation", "Readme" },
    { kYesCaption, kStringFileBase, "Translation", "Yes" },
    { kNoCaption, kStringFileBase, "Translation", "No" },
    { kReadingOrder, kStringFileBase, "Constant", "RightToLeft" },
    { kRemoveMessage, kStringFileBase, "Translation", "Remove" },
    { kInfName, kProjectFileBase, "Proj", "INF" },
    { kReadmePath, kStringFileBase, "Constant", "ReadmePath" },
};

bool MeansRightToLeft(const char* value)
{
    return value[0] == '1' && value[1] == '\0';
}
