// main of the test programs: a program whose every test skipped itself
// reports that to ctest instead of passing.
#include <gtest/gtest.h>

#include "frame/window_readers.h"
#include "support/skip_status.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    register_window_readers();
    return skip_aware_status(RUN_ALL_TESTS());
}
