#include "gui/privacy/RetentionDialog.h"

#include "privacy/RetentionSetting.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

RetentionDialog::RetentionDialog(RetentionSetting& setting, QWidget* parent)
    : QDialog(parent), m_setting(setting),
      m_keep(new QCheckBox(QStringLiteral("&Keep records only for"), this)),
      m_days(new QSpinBox(this)), m_delete(new QRadioButton(QStringLiteral("&Delete them"), this)),
      m_mask(new QRadioButton(QStringLiteral("&Mask (blank) the fields ticked, keeping the record"),
                              this)),
      m_fields(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmRetention"));
    setWindowTitle(QStringLiteral("Retention"));
    const RetentionRule& saved = setting.Saved();
    m_keep->setObjectName(QStringLiteral("chkRetention"));
    m_keep->setChecked(saved.IsSet());
    m_days->setObjectName(QStringLiteral("spnDays"));
    m_days->setAccessibleName(QStringLiteral("Days"));
    m_days->setRange(1, 36500);
    m_days->setValue(saved.IsSet() ? saved.days : 365);
    m_delete->setObjectName(QStringLiteral("optDelete"));
    m_mask->setObjectName(QStringLiteral("optMask"));
    const bool masks = saved.IsSet() && saved.action == RetentionRule::Action::Mask;
    (masks ? m_mask : m_delete)->setChecked(true);
    m_fields->setObjectName(QStringLiteral("lstFields"));
    m_fields->setAccessibleName(QStringLiteral("Masked fields"));
    for (const QString& name : setting.FieldNames()) {
        auto* item = new QListWidgetItem(name, m_fields);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(masks && saved.fields.contains(name, Qt::CaseInsensitive)
                                ? Qt::Checked
                                : Qt::Unchecked);
    }
    auto* after = new QLabel(QStringLiteral("After that, by record date:"), this);
    auto* rules = new QLabel(QStringLiteral("A record exactly as many days old as the period is "
                                            "still kept; a record without a date is never past "
                                            "it. On opening the database the program asks before "
                                            "changing anything."),
                             this);
    rules->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));

    auto* period = new QHBoxLayout;
    period->addWidget(m_keep);
    period->addWidget(m_days);
    period->addWidget(new QLabel(QStringLiteral("day(s)"), this));
    period->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addWidget(after);
    layout->addWidget(m_delete);
    layout->addWidget(m_mask);
    layout->addWidget(m_fields, 1);
    layout->addWidget(rules);
    layout->addWidget(buttons);

    connect(m_keep, &QCheckBox::toggled, this, &RetentionDialog::Follow);
    connect(m_mask, &QRadioButton::toggled, this, &RetentionDialog::Follow);
    connect(buttons, &QDialogButtonBox::accepted, this, &RetentionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Follow();
}

void RetentionDialog::Follow()
{
    const bool keep = m_keep->isChecked();
    m_days->setEnabled(keep);
    m_delete->setEnabled(keep);
    m_mask->setEnabled(keep);
    m_fields->setEnabled(keep && m_mask->isChecked());
}

void RetentionDialog::accept()
{
    RetentionRule rule;
    if (m_keep->isChecked()) {
        rule.days = m_days->value();
        rule.action =
            m_mask->isChecked() ? RetentionRule::Action::Mask : RetentionRule::Action::Delete;
        if (m_mask->isChecked()) {
            for (int i = 0; i < m_fields->count(); ++i) {
                if (m_fields->item(i)->checkState() == Qt::Checked)
                    rule.fields.append(m_fields->item(i)->text());
            }
        }
    }
    if (!m_setting.Save(rule))
        return;
    QDialog::accept();
    // The records already past the new period are offered at once.
    m_setting.CheckAndApply();
}
