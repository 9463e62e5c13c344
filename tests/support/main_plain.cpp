// Test main for programs that reach the module and the host only through
// dlopen: the module creates its own QApplication when it needs one.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
