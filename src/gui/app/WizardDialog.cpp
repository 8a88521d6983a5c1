#include "gui/app/WizardDialog.h"

#include "gui/platform/ScreenFit.h"
#include "platform/ErrorText.h"

#include "session/Session.h"
#include "app/StartupOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>

namespace {

// A label that opens the product's web site when double-clicked.
class WebSiteLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void mouseDoubleClickEvent(QMouseEvent*) override
    {
        QDesktopServices::openUrl(QUrl(QStringLiteral("https://tallowmere.example.org/")));
    }
};

} // namespace

WizardDialog::WizardDialog(Session& session, Tasks tasks, QWidget* parent)
    : QDialog(parent), m_session(session), m_tasks(std::move(tasks))
{
    setObjectName(QStringLiteral("frmWizard"));
    setWindowTitle(QStringLiteral("Quick Tips"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* tipsFrame = new QGroupBox(QStringLiteral("Quick Tips"), this);
    auto* tips = new QPlainTextEdit(tipsFrame);
    tips->setObjectName(QStringLiteral("txtTips"));
    tips->setReadOnly(true);
    QString tipsText = StartupOptions::QuickTipsText();
    tips->setPlainText(tipsText.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    tips->setMinimumSize(420, 260);
    (new QVBoxLayout(tipsFrame))->addWidget(tips);

    auto* optionsFrame = new QGroupBox(QStringLiteral("Startup Options"), this);
    auto* optionsLayout = new QGridLayout(optionsFrame);
    m_options = new QButtonGroup(this);
    const char* optionCaptions[] = {
        "Open an &Existing Database", "Create a &New Database", "Open the &Sample Database",
        "View &Tutorial (Opens in your web browser)", "Onl&y save startup options"};
    const char* buttonCaptions[] = {"&Open Database", "Create &New Database",
                                    "Open &Sample Database", "View &Tutorial"};
    for (int i = 0; i < 5; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(optionCaptions[i]), optionsFrame);
        option->setObjectName(QStringLiteral("optTask_%1").arg(i));
        m_options->addButton(option, i);
        optionsLayout->addWidget(option, i, 0);
        if (i < 4) {
            auto* direct = new QPushButton(QString::fromLatin1(buttonCaptions[i]), optionsFrame);
            direct->setObjectName(QStringLiteral("Command2_%1").arg(i));
            optionsLayout->addWidget(direct, i, 1);
            connect(direct, &QPushButton::clicked, this, [this, i] { RunTask(i); });
        }
    }
    m_options->button(0)->setChecked(true);
    auto* go = new QPushButton(QStringLiteral("Go !"), optionsFrame);
    go->setObjectName(QStringLiteral("Command1"));
    go->setDefault(true);
    optionsLayout->addWidget(go, 4, 1);
    connect(go, &QPushButton::clicked, this, [this] { RunTask(SelectedTask()); });

    m_autoOpen = new QCheckBox(
        QStringLiteral("&Automatically open the most recently used database on startup"), this);
    m_autoOpen->setObjectName(QStringLiteral("chkAutoOpen"));
    m_noWizard = new QCheckBox(
        QStringLiteral("&Don't show this screen on start up again. You can get back to this "
                       "screen by selecting \"Preferences\" from the Options Menu."),
        this);
    m_noWizard->setObjectName(QStringLiteral("chkNoWizard"));
    m_autoOpen->setChecked(StartupOptions::AutoOpenTicked(m_session.Folders));
    m_noWizard->setChecked(StartupOptions::NoWizardTicked(m_session.Folders));
    connect(m_autoOpen, &QCheckBox::clicked, this, &WizardDialog::AutoOpenClicked);
    connect(m_noWizard, &QCheckBox::clicked, this, &WizardDialog::NoWizardClicked);

    auto* web = new WebSiteLabel(
        QStringLiteral("Double-click here to visit the Tallowmere web site for news and updates."),
        this);
    web->setObjectName(QStringLiteral("lblWebSite"));

    auto* columns = new QHBoxLayout;
    columns->addWidget(tipsFrame, 3);
    columns->addWidget(optionsFrame, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(m_autoOpen);
    layout->addWidget(m_noWizard);
    layout->addWidget(web);
    ScrollWhenSmall(this);
}

void WizardDialog::SelectTask(int task)
{
    if (QAbstractButton* option = m_options->button(task))
        option->setChecked(true);
}

int WizardDialog::SelectedTask() const
{
    return m_options->checkedId();
}

void WizardDialog::RunTask(int task)
{
    try {
        switch (task) {
        case StartupOptions::OpenExisting:
            if (m_tasks.openDatabase)
                m_tasks.openDatabase();
            break;
        case StartupOptions::CreateNew:
            if (m_tasks.newDatabase)
                m_tasks.newDatabase();
            break;
        case StartupOptions::OpenSample:
            if (m_tasks.openSampleDatabase)
                m_tasks.openSampleDatabase();
            m_session.ui.MessageBox(StartupOptions::SampleQueriesNote());
            break;
        case StartupOptions::ViewTutorial: {
            const QString tutorial = m_session.Folders.FindFile(QStringLiteral("tutorial.htm"));
            if (tutorial.isEmpty())
                throw std::runtime_error("The tutorial \"tutorial.htm\" could not be found");
            const bool shown = m_tasks.openDocument
                                   ? m_tasks.openDocument(tutorial)
                                   : QDesktopServices::openUrl(QUrl::fromLocalFile(tutorial));
            if (!shown)
                m_session.ui.MessageBox(StartupOptions::NoBrowserMessage(tutorial),
                                        MessageIcon::Information);
            break;
        }
        default:
            break;
        }
    } catch (const std::exception& e) {
        m_session.ui.MessageBox(QStringLiteral("Error executing task: ") + ErrorText(e),
                                MessageIcon::Exclamation);
        return;
    }
    if (!StartupOptions::StaysOpenAfter(task))
        close();
}

void WizardDialog::AutoOpenClicked(bool ticked)
{
    const QString path = m_tasks.openDatabasePath ? m_tasks.openDatabasePath() : QString();
    QString error;
    if (!StartupOptions::AutoOpenChanged(m_session.Folders, ticked, path, &error))
        m_session.ui.MessageBox(QStringLiteral("Error reading/writing Tallowmere.ini: ") + error,
                                MessageIcon::Exclamation);
}

void WizardDialog::NoWizardClicked(bool ticked)
{
    QString error;
    if (!StartupOptions::NoWizardChanged(m_session.Folders, ticked, &error))
        m_session.ui.MessageBox(QStringLiteral("Error reading/writing Tallowmere.ini: ") + error,
                                MessageIcon::Exclamation);
}
