#include "support/sbuf.h"

#include <gtest/gtest.h>

#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define HAVE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define HAVE_ASAN 1
#endif
#endif

TEST(SBuf, RuntimeClass)
{
    SBuf buf;
    const CRuntimeClass* rc = buf.GetRuntimeClass();
    EXPECT_STREQ("SBuf", rc->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(SBuf)), rc->m_nObjectSize);
    EXPECT_EQ(RUNTIME_CLASS(CObject), rc->m_pBaseClass);
    EXPECT_TRUE(buf.IsKindOf(RUNTIME_CLASS(SBuf)));
    EXPECT_TRUE(buf.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ("CObject", RUNTIME_CLASS(CObject)->m_lpszClassName);
}

TEST(SBuf, SetSize)
{
    SBuf buf;
    EXPECT_EQ(nullptr, buf.GetData());
    EXPECT_EQ(0, buf.GetSize());

    char* p = buf.SetSize(16);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(p, buf.GetData());
    EXPECT_EQ(16, buf.GetSize());
    std::memcpy(p, "0123456789abcdef", 16);

    // Smaller: the same block, the data kept.
    EXPECT_EQ(p, buf.SetSize(8));
    EXPECT_EQ(8, buf.GetSize());
    EXPECT_EQ(0, std::memcmp(p, "0123456789abcdef", 16));

    // Equal or larger: a new block of that size (see below).
    ASSERT_NE(nullptr, buf.SetSize(100));
    EXPECT_EQ(100, buf.GetSize());

    // Negative: null and empty.
    EXPECT_EQ(nullptr, buf.SetSize(-1));
    EXPECT_EQ(nullptr, buf.GetData());
    EXPECT_EQ(0, buf.GetSize());

    ASSERT_NE(nullptr, buf.SetSize(4));
    buf.Free();
    EXPECT_EQ(nullptr, buf.GetData());
    EXPECT_EQ(0, buf.GetSize());
}

// What AddressSanitizer can tell: the new block is exactly n bytes and the
// one it replaces is released.
TEST(SBuf, SetSizeReplacesTheBlockWithOneOfExactlyN)
{
#ifndef HAVE_ASAN
    GTEST_SKIP() << "needs AddressSanitizer";
#else
    SBuf buf;
    struct Step {
        int32_t n;
        bool replaces;
    } steps[] = {
        /* 0 */ { 10, true },
        /* 1 */ { 4, false },
        /* 2 */ { 8, true },    // smaller than the block, larger than the size
        /* 3 */ { 8, true },
        /* 4 */ { 33, true },
        /* 5 */ { 1, false },
    };
    char* block = nullptr;
    int32_t blockSize = 0;
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        char* old = block;
        char* p = buf.SetSize(steps[i].n);
        ASSERT_NE(nullptr, p);
        if (steps[i].replaces) {
            if (old)
                EXPECT_TRUE(__asan_address_is_poisoned(old)) << "old block not released";
            block = p;
            blockSize = steps[i].n;
        } else {
            EXPECT_EQ(old, p);
        }
        EXPECT_EQ(nullptr, __asan_region_is_poisoned(block, static_cast<size_t>(blockSize)));
        EXPECT_TRUE(__asan_address_is_poisoned(block + blockSize)) << "block larger than asked";
    }
    buf.SetSize(-5);
    EXPECT_TRUE(__asan_address_is_poisoned(block)) << "block not released";
#endif
}
