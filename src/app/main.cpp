#include "app/Session.h"
#include "platform/QtUi.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tallowmere"));
    QApplication::setApplicationName(QStringLiteral("Tallowmere"));

    QtUi ui;
    Session session(ui, ProgramFolders::Resolve(QApplication::applicationDirPath()));

    QMainWindow frame;
    frame.setObjectName(QStringLiteral("frmMDI"));
    frame.setWindowTitle(QStringLiteral("Tallowmere"));
    ui.SetParent(&frame);
    frame.show();
    return app.exec();
}
