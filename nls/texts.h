// The launcher's texts: for each, the language file it is read from, its
// section and key, and what it is for. The dialog, the install actions
// and nlscheck all read this one list.
#ifndef NLS_TEXTS_H
#define NLS_TEXTS_H

// The language table, and the two families of language files, each named
// "<base>.<code>".
extern const char kLanguageTableFile[];  // "NLS\LANGID.TXT"
extern const char kProjectFileBase[];    // "NLS\PROJ": the package's name and INF
extern const char kStringFileBase[];     // "NLS\STR": the dialog's texts, the uninstall message, the readme

// What a text is for, in the order a user meets them.
enum TextRole {
    kPackageName,     // the dialog's title and the uninstall entry's DisplayName
    kQuestion,        // the question the dialog asks
    kReadmeCaption,   // the check box's caption
    kYesCaption,      // the Yes button's caption
    kNoCaption,       // the No button's caption
    kReadingOrder,    // "1" when the language reads right to left: the dialog is mirrored
    kRemoveMessage,   // the uninstall entry's Message
    kInfName,         // the INF the installer is started on
    kReadmePath,      // the file Notepad opens
    kTextRoleCount
};

struct LauncherText {
    TextRole role;
    const char* base;  // kProjectFileBase or kStringFileBase
    const char* section;
    const char* key;
};

// Every text, one for each role, in the order of the roles.
extern const LauncherText kLauncherTexts[kTextRoleCount];

// Whether a language whose kReadingOrder text is value reads right to left:
// only "1" says so; any other text, as no text, means left to right.
bool MeansRightToLeft(const char* value);

#endif
