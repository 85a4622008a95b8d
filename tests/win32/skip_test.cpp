// Tests that skip on purpose, run one at a time by skip_test.sh to see the
// exit status that CTest gets: disabled, so a plain run passes.
#include "testutil.h"

#include <gtest/gtest.h>

TEST(Skips, DISABLED_ForWantOfADisplay)
{
    SKIP_FOR_WANT_OF("a display");
}

TEST(Skips, DISABLED_ForTheMachine)
{
    GTEST_SKIP() << "no file here opens and then fails to read";
}

TEST(Skips, DISABLED_AfterAFailure)
{
    ADD_FAILURE() << "a failure before the skip";
    SKIP_FOR_WANT_OF("a display");
}

TEST(Skips, DISABLED_Passes)
{
}
