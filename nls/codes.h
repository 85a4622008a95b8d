// The two language codes the launcher works with: the default language's
// and the current one's, each at most 3 characters and a zero byte.
#ifndef NLS_CODES_H
#define NLS_CODES_H

struct LanguageCodes {
    char defaultCode[4];
    char currentCode[4];
};

static_assert(sizeof(LanguageCodes) == 8, "two slots of 4 bytes");

// The code pages that the two codes' language files are read in on the NT
// family; 0 on Windows 9x, which reads them in the machine's.
struct LanguageCodePages {
    unsigned defaultCodePage;
    unsigned currentCodePage;
};

#endif
