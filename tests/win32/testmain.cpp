// The entry of the Wine test programs: GoogleTest's, with the exit status
// that tells CTest of a skip (RunAllTests).
#include "testutil.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RunAllTests();
}
