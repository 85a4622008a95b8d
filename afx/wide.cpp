// Texts crossing to the NT family's wide calls, and the wide functions
// that Windows 95 lacks, looked up at run time.
#include "afxwin.h"

#include <cstdlib>

FARPROC AfxSystemProc(const char* module, const char* name)
{
    HMODULE hModule = ::GetModuleHandleA(module);
    return hModule ? ::GetProcAddress(hModule, name) : nullptr;
}

FARPROC AfxWideProc(const char* module, const char* name)
{
    return AfxIsNTFamily() ? AfxSystemProc(module, name) : nullptr;
}

CWideText::CWideText(const char* text, UINT codePage)
{
    int n = ::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    m_pText = static_cast<WCHAR*>(std::malloc(sizeof(WCHAR) * static_cast<size_t>(n > 0 ? n : 1)));
    if (!m_pText)
        AfxThrowMemoryException();
    m_nLength = n > 0 ? ::MultiByteToWideChar(codePage, 0, text, -1, m_pText, n) - 1 : 0;
    if (m_nLength < 0)
        m_nLength = 0;
    m_pText[m_nLength] = 0;
}

CWideText::~CWideText()
{
    std::free(m_pText);
}

CString AfxUtf8FromWide(const WCHAR* text)
{
    CString utf8;
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.GetBuffer(n - 1), n, nullptr, nullptr);
        utf8.ReleaseBuffer();
    }
    return utf8;
}

CString AfxUtf8(const char* text, UINT codePage)
{
    return AfxUtf8FromWide(CWideText(text, codePage));
}
