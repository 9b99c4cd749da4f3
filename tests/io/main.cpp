#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    // State files go to a folder of the run's own, never the user's.
    QTemporaryDir state;
    qputenv("BITLOOM_STATE_DIR", state.path().toUtf8());
    return RUN_ALL_TESTS();
}
