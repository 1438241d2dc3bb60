#include <gtest/gtest.h>

#include "TestHome.h"

// The unit test binary: a home of its own first, then the tests.
int main(int argc, char** argv) {
    testing::useOwnHome();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
