#include "gui/duplicates/DuplicateKeysDialog.h"

#include "duplicates/DuplicateKeysSetting.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

DuplicateKeysDialog::DuplicateKeysDialog(DuplicateKeysSetting& setting, QWidget* parent)
    : QDialog(parent), m_setting(setting), m_fields(new QListWidget(this)),
      m_whole(
          new QCheckBox(QStringLiteral("The &whole response (every field name and value)"), this)),
      m_within(new QCheckBox(QStringLiteral("Only wi&thin"), this)), m_days(new QSpinBox(this))
{
    setObjectName(QStringLiteral("frmDuplicateKeys"));
    setWindowTitle(QStringLiteral("Duplicate keys"));
    auto* label = new QLabel(QStringLiteral("Records are possible duplicates when they have the "
                                            "same values in the &fields ticked:"),
                             this);
    label->setWordWrap(true);
    label->setBuddy(m_fields);
    m_fields->setObjectName(QStringLiteral("lstFields"));
    m_fields->setAccessibleName(QStringLiteral("Key fields"));
    const DuplicateKeys& saved = setting.Saved();
    for (const QString& name : setting.FieldNames()) {
        auto* item = new QListWidgetItem(name, m_fields);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const bool on =
            std::any_of(saved.fields.begin(), saved.fields.end(), [&](const QString& f) {
                return f.compare(name, Qt::CaseInsensitive) == 0;
            });
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    m_whole->setObjectName(QStringLiteral("chkWholeResponse"));
    m_whole->setChecked(saved.wholeResponse);
    m_within->setObjectName(QStringLiteral("chkWithin"));
    m_within->setChecked(saved.withinDays.has_value());
    m_days->setObjectName(QStringLiteral("spnDays"));
    m_days->setAccessibleName(QStringLiteral("Days"));
    m_days->setRange(0, 36500);
    m_days->setValue(saved.withinDays.value_or(30));
    auto* compared = new QLabel(QStringLiteral("Values are compared without surrounding blanks and "
                                               "ignoring letter case; e-mail addresses in lower "
                                               "case, phone numbers by their digits alone."),
                                this);
    compared->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));

    auto* days = new QHBoxLayout;
    days->addWidget(m_within);
    days->addWidget(m_days);
    days->addWidget(new QLabel(QStringLiteral("day(s) of each other"), this));
    days->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_fields, 1);
    layout->addWidget(m_whole);
    layout->addLayout(days);
    layout->addWidget(compared);
    layout->addWidget(buttons);

    connect(m_whole, &QCheckBox::toggled, this, &DuplicateKeysDialog::Follow);
    connect(m_within, &QCheckBox::toggled, this, &DuplicateKeysDialog::Follow);
    connect(buttons, &QDialogButtonBox::accepted, this, &DuplicateKeysDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Follow();
}

void DuplicateKeysDialog::Follow()
{
    m_fields->setEnabled(!m_whole->isChecked());
    m_days->setEnabled(m_within->isChecked());
}

void DuplicateKeysDialog::accept()
{
    DuplicateKeys keys;
    keys.wholeResponse = m_whole->isChecked();
    if (!keys.wholeResponse) {
        for (int i = 0; i < m_fields->count(); ++i) {
            if (m_fields->item(i)->checkState() == Qt::Checked)
                keys.fields.append(m_fields->item(i)->text());
        }
    }
    if (m_within->isChecked())
        keys.withinDays = m_days->value();
    if (m_setting.Save(keys))
        QDialog::accept();
}
