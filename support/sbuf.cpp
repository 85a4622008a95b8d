#include "sbuf.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(SBuf, CObject)

#if UINTPTR_MAX == 0xFFFFFFFF
static_assert(sizeof(SBuf) == 16, "SBuf is 16 bytes on the 32-bit target");
#endif

char* SBuf::SetSize(int32_t n)
{
    if (n < 0) {
        Free();
        return nullptr;
    }
    if (n < m_nSize) {
        m_nSize = n;
        return m_pData;
    }
    Free();
    m_pData = static_cast<char*>(std::malloc(n > 0 ? static_cast<size_t>(n) : 1));
    if (!m_pData)
        return nullptr;
    m_nAllocSize = m_nSize = n;
    return m_pData;
}

void SBuf::Free()
{
    std::free(m_pData);
    m_pData = nullptr;
    m_nAllocSize = m_nSize = 0;
}
