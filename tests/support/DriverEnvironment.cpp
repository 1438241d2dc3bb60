#include "DriverEnvironment.h"

#include "Driver.h"

namespace testing {

void DriverEnvironment::SetUp() {
    ASSERT_TRUE(Driver::get().open()) << "no GL view: neither SDL's offscreen driver nor Xvfb gave a context";
}

void DriverEnvironment::TearDown() {
    Driver::get().close();
}

}  // namespace testing
