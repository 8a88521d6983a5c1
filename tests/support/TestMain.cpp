#if defined(TALLOWMERE_TEST_APP_GUI)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(TALLOWMERE_TEST_APP_RENDER)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test program runs with the least Qt application its layer needs
// (windows and painting on the offscreen platform), and with per-user
// folders pointed at a temporary folder so no test touches a real user's
// files.
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

    TestApplication app(argc, argv);
    TestApplication::setOrganizationName(QStringLiteral("Tallowmere"));
    TestApplication::setApplicationName(QStringLiteral("Tallowmere"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
