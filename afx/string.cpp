// The reference-counted string. An empty string points at one shared,
// never freed empty block, so making or clearing a string never allocates.
#include "afx.h"

#include <cstdlib>
#include <cstring>

struct CString::Data {
    int nRefs;        // -1 marks the shared empty block
    int nDataLength;
    int nAllocLength;
    char* data() { return reinterpret_cast<char*>(this + 1); }
};

char* CString::EmptyString()
{
    static struct {
        Data header;
        char zero;
    } empty = { { -1, 0, 0 }, 0 };
    return empty.header.data();
}

CString::Data* CString::GetData() const
{
    return reinterpret_cast<Data*>(m_pchData) - 1;
}

CString::CString() : m_pchData(EmptyString()) {}

CString::CString(const char* psz) : m_pchData(EmptyString())
{
    *this = psz;
}

CString::CString(const CString& other) : m_pchData(EmptyString())
{
    *this = other;
}

CString::~CString()
{
    Release();
}

void CString::Release()
{
    Data* pData = GetData();
    if (pData->nRefs >= 0 && --pData->nRefs == 0)
        std::free(pData);
    m_pchData = EmptyString();
}

CString& CString::operator=(const CString& other)
{
    if (m_pchData != other.m_pchData) {
        Release();
        Data* pData = other.GetData();
        if (pData->nRefs >= 0) {
            ++pData->nRefs;
            m_pchData = other.m_pchData;
        }
    }
    return *this;
}

CString& CString::operator=(const char* psz)
{
    Assign(psz, psz ? static_cast<int>(std::strlen(psz)) : 0);
    return *this;
}

// A new block with room for nLength characters and a zero byte, holding
// the empty text; running out of memory ends the process.
CString::Data* CString::AllocData(int nLength)
{
    if (nLength < 0 || static_cast<size_t>(nLength) > 0x7FFFFFF0u - sizeof(Data))
        AfxThrowMemoryException();
    Data* pData = static_cast<Data*>(
        std::malloc(sizeof(Data) + static_cast<size_t>(nLength) + 1));
    if (!pData)
        AfxThrowMemoryException();
    pData->nRefs = 1;
    pData->nDataLength = 0;
    pData->nAllocLength = nLength;
    pData->data()[0] = '\0';
    return pData;
}

void CString::Assign(const char* psz, int nLength)
{
    if (nLength == 0) {
        Release();
        return;
    }
    Data* pData = AllocData(nLength);
    std::memcpy(pData->data(), psz, static_cast<size_t>(nLength));
    pData->data()[nLength] = '\0';
    pData->nDataLength = nLength;
    Release();
    m_pchData = pData->data();
}

void CString::Append(const char* psz, int nLength)
{
    if (nLength == 0)
        return;
    int nOld = GetLength();
    if (nLength > 0x7FFFFFF0 - nOld)
        AfxThrowMemoryException();
    Data* pData = AllocData(nOld + nLength);
    std::memcpy(pData->data(), m_pchData, static_cast<size_t>(nOld));
    std::memcpy(pData->data() + nOld, psz, static_cast<size_t>(nLength));
    pData->data()[nOld + nLength] = '\0';
    pData->nDataLength = nOld + nLength;
    Release();
    m_pchData = pData->data();
}

CString& CString::operator+=(const char* psz)
{
    if (psz)
        Append(psz, static_cast<int>(std::strlen(psz)));
    return *this;
}

CString& CString::operator+=(const CString& other)
{
    CString keep(other);  // other may be this string itself
    Append(keep.m_pchData, keep.GetLength());
    return *this;
}

int CString::GetLength() const
{
    return GetData()->nDataLength;
}

void CString::Empty()
{
    Release();
}

char* CString::GetBuffer(int nMinLength)
{
    Data* pData = GetData();
    if (pData->nRefs != 1 || pData->nAllocLength < nMinLength) {
        int nOld = GetLength();
        Data* pNew = AllocData(nMinLength > nOld ? nMinLength : nOld);
        std::memcpy(pNew->data(), m_pchData, static_cast<size_t>(nOld) + 1);
        pNew->nDataLength = nOld;
        Release();
        m_pchData = pNew->data();
    }
    return m_pchData;
}

void CString::ReleaseBuffer()
{
    Data* pData = GetData();
    if (pData->nRefs < 0)
        return;
    pData->data()[pData->nAllocLength] = '\0';
    pData->nDataLength = static_cast<int>(std::strlen(m_pchData));
}

CString operator+(const CString& left, const char* right)
{
    CString result(left);
    result += right;
    return result;
}
