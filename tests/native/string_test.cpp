#include "afx/afx.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char* Ptr(const CString& s)
{
    return s;
}

}

TEST(CString, EmptyStringsShareOneBlock)
{
    const CString none;
    const char* shared = Ptr(none);
    EXPECT_EQ(0, none.GetLength());
    EXPECT_STREQ("", shared);

    CString fromEmpty("");
    CString fromNull(static_cast<const char*>(nullptr));
    CString emptied("text");
    emptied.Empty();
    CString assigned("text");
    assigned = "";
    CString appended;
    appended += "";
    appended += none;
    CString copied(none);
    const CString* all[] = { &fromEmpty, &fromNull, &emptied, &assigned, &appended, &copied };
    for (size_t i = 0; i < sizeof all / sizeof all[0]; ++i) {
        SCOPED_TRACE("string " + std::to_string(i));
        EXPECT_EQ(shared, Ptr(*all[i]));
        EXPECT_EQ(0, all[i]->GetLength());
    }
    EXPECT_TRUE(emptied.IsEmpty());
}

TEST(CString, CopiesShareUntilOneChanges)
{
    CString a("abc");
    CString b(a);
    CString c;
    c = a;
    EXPECT_EQ(Ptr(a), Ptr(b));
    EXPECT_EQ(Ptr(a), Ptr(c));

    b += "d";
    c = "xyz";
    EXPECT_STREQ("abc", a);
    EXPECT_STREQ("abcd", b);
    EXPECT_STREQ("xyz", c);
    EXPECT_EQ(3, a.GetLength());
    EXPECT_EQ(4, b.GetLength());

    // Writing through a buffer of a shared copy leaves the others alone.
    CString d(a);
    char* p = d.GetBuffer(3);
    EXPECT_NE(Ptr(a), p);
    p[0] = 'X';
    d.ReleaseBuffer();
    EXPECT_STREQ("abc", a);
    EXPECT_STREQ("Xbc", d);
}

TEST(CString, AssignsAndAppendsItsOwnText)
{
    CString s("abc");
    s = s;
    EXPECT_STREQ("abc", s);
    s = Ptr(s);
    EXPECT_STREQ("abc", s);
    s += s;
    EXPECT_STREQ("abcabc", s);
    s += Ptr(s) + 3;
    EXPECT_STREQ("abcabcabc", s);
    EXPECT_EQ(9, s.GetLength());
    s = Ptr(s) + 6;
    EXPECT_STREQ("abc", s);
    EXPECT_EQ(3, s.GetLength());

    CString t = s + "def";
    EXPECT_STREQ("abcdef", t);
    EXPECT_STREQ("abc", s);
}

TEST(CString, BufferForPlatformCalls)
{
    // Room for nMinLength characters and a zero byte; AddressSanitizer
    // reports a write past it.
    CString s;
    char* p = s.GetBuffer(5);
    std::memcpy(p, "hello", 6);
    s.ReleaseBuffer();
    EXPECT_STREQ("hello", s);
    EXPECT_EQ(5, s.GetLength());

    // The text stays; a request shorter than it keeps all of it.
    CString t("abcdef");
    EXPECT_STREQ("abcdef", t.GetBuffer(2));
    t.ReleaseBuffer();
    EXPECT_EQ(6, t.GetLength());
    EXPECT_STREQ("abcdef", t.GetBuffer(20));
    t.GetBuffer(20)[3] = '\0';
    t.ReleaseBuffer();
    EXPECT_STREQ("abc", t);
    EXPECT_EQ(3, t.GetLength());

    // A call that fills the buffer without a zero byte: the text ends at
    // the buffer's length.
    CString u;
    p = u.GetBuffer(4);
    std::memset(p, 'x', 5);
    u.ReleaseBuffer();
    EXPECT_STREQ("xxxx", u);
    EXPECT_EQ(4, u.GetLength());

    // Releasing an untouched empty string leaves it empty and shared.
    CString v;
    v.ReleaseBuffer();
    EXPECT_EQ(Ptr(CString()), Ptr(v));
}
