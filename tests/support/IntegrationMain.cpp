#include <gtest/gtest.h>

#include "DriverEnvironment.h"
#include "TestHome.h"

// Every integration test binary: a home of its own first, then the real GL view, opened once before
// the first test.
int main(int argc, char** argv) {
    testing::useOwnHome();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ::testing::DriverEnvironment());
    return RUN_ALL_TESTS();
}
