#include "ui/plurals.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char* argv[])
{
    // Headless unless the caller asked for a particular platform.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    bitloom::EnglishPlurals plurals;
    QApplication::installTranslator(&plurals);
    // Recovery and lock files go to a folder of the run's own, never the user's.
    QTemporaryDir state;
    qputenv("BITLOOM_STATE_DIR", state.path().toUtf8());
    // So do the remembered settings (the layout choices of files).
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, state.path());
    return RUN_ALL_TESTS();
}
