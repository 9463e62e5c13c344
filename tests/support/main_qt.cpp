// Test main for programs that link the module's code: a QApplication exists
// for the widgets, except when the tests are only listed (test discovery
// runs without the environment that makes Qt work headless).
#include <gtest/gtest.h>
#include <QApplication>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    bool bListe = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) bListe = true;
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QApplication> app;
    if (!bListe) {
        static int nArgc = 1;
        static char szNom[] = "App";
        static char* argvApp[] = {szNom, nullptr};
        app = std::make_unique<QApplication>(nArgc, argvApp);
    }
    return RUN_ALL_TESTS();
}
