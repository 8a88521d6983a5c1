#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test executable runs with a Qt application on the offscreen
// platform, and with per-user folders pointed at a temporary folder so no
// test touches a real user's files.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    qunsetenv("TALLOWMERE_HOME");
    QStandardPaths::setTestModeEnabled(true);

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tallowmere"));
    QApplication::setApplicationName(QStringLiteral("Tallowmere"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
