#include "gui/app/CommandIcons.h"
#include "app/ShellController.h"
#include "app/StartupPlan.h"
#include "gui/app/MainWindow.h"
#include "platform/Logging.h"
#include "session/Session.h"
#include "gui/platform/QtUi.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tallowmere"));
    QApplication::setApplicationName(QStringLiteral("Tallowmere"));

    UseFallbackIconTheme();
    const SystemClock clock;
    QtUi ui(clock);
    Session session(ui, ProgramFolders::Resolve(QApplication::applicationDirPath()), Regional(),
                    &clock);
    ui.SetFolders(&session.Folders);
    qCInfo(lcApp, "program folder %s, writable folder %s", qPrintable(session.Folders.Program()),
           qPrintable(session.Folders.Writable()));
    QApplication::setWindowIcon(
        QIcon(session.Folders.ProgramFile(QStringLiteral("tallowmere.png"))));

    // The dispatcher and the record viewer's controller it holds outlive
    // the frame, which hands each child window the part it uses.
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(CommandLineDatabase(QApplication::arguments().mid(1), QDir::currentPath()));
    if (frame.Ended())
        return 1;
    return app.exec();
}
