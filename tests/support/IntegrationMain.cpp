#include <gtest/gtest.h>

#include "DriverEnvironment.h"

// Every integration test binary: the real GL view is opened once, before the first test.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ::testing::DriverEnvironment());
    return RUN_ALL_TESTS();
}
