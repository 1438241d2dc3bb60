#pragma once

#include <gtest/gtest.h>

namespace testing {

// Opens the driver's view once for the test binary and closes it at the end.
class DriverEnvironment : public Environment {
public:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace testing
