#include "gui/app/AboutDialog.h"

#include "app/ProgramInfo.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Tallowmere"));

    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(48, 48));
    auto* name = new QLabel(QStringLiteral("<h2>Tallowmere</h2>"), this);
    name->setObjectName(QStringLiteral("lblTitle"));
    auto* title = new QLabel(ProgramInfo::TitleLine(), this);
    title->setObjectName(QStringLiteral("lblDescription"));
    auto* version = new QLabel(QStringLiteral("Version ") + ProgramInfo::Version(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
}
