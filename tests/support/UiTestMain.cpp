#include "support/TestMain.h"
#include "widgets/PlainHints.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testsupport::isolateEnvironment();
    QApplication app(argc, argv);
    installPlainHints(app); // as the program does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
