// SBuf: a byte buffer that owns its block and is sized on demand.
#ifndef SUPPORT_SBUF_H
#define SUPPORT_SBUF_H

#include "afx/afx.h"

#include <cstdint>

class SBuf : public CObject {
    DECLARE_DYNAMIC(SBuf)

public:
    SBuf() : m_pData(nullptr), m_nAllocSize(0), m_nSize(0) {}
    ~SBuf() override { Free(); }

    // Makes the buffer n bytes long. A smaller size only shortens it and
    // keeps the data; a larger or equal one replaces the block with a new
    // one of exactly n bytes, without the old contents. Null, with the
    // buffer empty, when n is negative or the block can't be had.
    char* SetSize(int32_t n);
    void Free();

    char* GetData() const { return m_pData; }
    int32_t GetSize() const { return m_nSize; }

private:
    char* m_pData;
    int32_t m_nAllocSize;
    int32_t m_nSize;
};

#endif
