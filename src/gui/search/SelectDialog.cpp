#include "gui/search/SelectDialog.h"

#include "session/Session.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

SelectDialog::SelectDialog(Session& session, bool rowsSelectedInSummary, QWidget* parent)
    : QDialog(parent), m_session(session), m_from(new QLineEdit(this)), m_to(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmSelect"));
    setWindowTitle(QStringLiteral("Select Records"));
    setModal(true);
    static const char* const kCaptions[] = {
        "Only &Selected records in the summary", "&All records in the summary",
        "&Use resumes in the current summary or query result with resume IDs in the range",
        "&Current record only"};
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 4; ++i) {
        m_options[i] = new QRadioButton(QString::fromUtf8(kCaptions[i]), this);
        m_options[i]->setObjectName(QStringLiteral("optSelect_%1").arg(i));
        connect(m_options[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            m_logic.ChooseOption(static_cast<SelectRecordsController::Option>(i));
            ShowState();
        });
        layout->addWidget(m_options[i]);
        if (i == SelectRecordsController::kIdRange) {
            auto* range = new QHBoxLayout;
            m_from->setObjectName(QStringLiteral("txtFrom"));
            m_to->setObjectName(QStringLiteral("txtTo"));
            range->addSpacing(20);
            auto* from = new QLabel(QStringLiteral("From:"), this);
            from->setBuddy(m_from);
            range->addWidget(from);
            range->addWidget(m_from);
            auto* to = new QLabel(QStringLiteral("To:"), this);
            to->setBuddy(m_to);
            range->addWidget(to);
            range->addWidget(m_to);
            layout->addLayout(range);
        }
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOKSelect"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancelSelect"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &SelectDialog::cmdOKSelect_Click);
    connect(cancel, &QPushButton::clicked, this, &SelectDialog::cmdCancelSelect_Click);

    m_logic.Activate(rowsSelectedInSummary, m_session.ui);
    ShowState();
}

void SelectDialog::ShowState()
{
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker quiet(m_options[i]);
        m_options[i]->setChecked(m_logic.option == i);
    }
    m_options[SelectRecordsController::kOnlySelected]->setEnabled(m_logic.selectedOptionEnabled);
    m_from->setEnabled(m_logic.rangeBoxesEnabled);
    m_to->setEnabled(m_logic.rangeBoxesEnabled);
    m_from->setText(m_logic.txtFrom);
    m_to->setText(m_logic.txtTo);
}

void SelectDialog::cmdOKSelect_Click()
{
    m_logic.txtFrom = m_from->text();
    m_logic.txtTo = m_to->text();
    if (m_logic.Ok(m_session.ui, m_session.RegionalSettings, m_session.Selection))
        accept();
}

void SelectDialog::cmdCancelSelect_Click()
{
    reject();
}

void SelectDialog::reject()
{
    // Closing the dialog any other way is Cancel too.
    SelectRecordsController::Cancel(m_session.Selection);
    QDialog::reject();
}
