// Files for reading, and the end of the process on a read error.
#include "afxwin.h"

void AfxThrowFileException(int, LONG)
{
    AfxAbort();
}

BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags, CFileException*)
{
    Close();
    DWORD share = (nOpenFlags & shareDenyWrite) ? FILE_SHARE_READ
                                                : FILE_SHARE_READ | FILE_SHARE_WRITE;
    m_hFile = CreateFileA(lpszFileName, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_hFile != INVALID_HANDLE_VALUE;
}

ULONGLONG CFile::GetLength() const
{
    // GetFileSize, not GetFileSizeEx: Windows 95 and NT 4 have only this.
    DWORD high = 0;
    DWORD low = GetFileSize(m_hFile, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        AfxThrowFileException(CFileException::generic, static_cast<LONG>(GetLastError()));
    return (static_cast<ULONGLONG>(high) << 32) | low;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    DWORD nRead = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr))
        AfxThrowFileException(CFileException::generic, static_cast<LONG>(GetLastError()));
    return nRead;
}

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}
