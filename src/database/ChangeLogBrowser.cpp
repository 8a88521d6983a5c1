#include "database/ChangeLogBrowser.h"

#include "platform/DatabaseConnection.h"
#include "platform/ErrorText.h"
#include "session/Session.h"

#include <algorithm>
#include <stdexcept>

QStringList ChangeLogBrowser::KindChoices()
{
    QStringList choices{QStringLiteral("All kinds")};
    for (const ChangeKind kind : AllChangeKinds())
        choices.append(ChangeKindName(kind));
    return choices;
}

QStringList ChangeLogBrowser::Headings()
{
    return {QStringLiteral("When"), QStringLiteral("Kind"), QStringLiteral("What"),
            QStringLiteral("Records"), QStringLiteral("User")};
}

void ChangeLogBrowser::SetKind(int choice)
{
    const std::vector<ChangeKind>& kinds = AllChangeKinds();
    if (choice >= 1 && choice <= static_cast<int>(kinds.size()))
        m_filter.kind = kinds[static_cast<size_t>(choice - 1)];
    else
        m_filter.kind.reset();
}

bool ChangeLogBrowser::SetSince(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        m_filter.since = QDateTime();
        return true;
    }
    const std::optional<QDateTime> since = ParseChangeLogSince(text);
    if (!since) {
        m_session.ui.MessageBox(
            QStringLiteral("'%1' is not a date: type it as YYYY-MM-DD.").arg(text.trimmed()),
            MessageIcon::Exclamation);
        return false;
    }
    m_filter.since = *since;
    return true;
}

bool ChangeLogBrowser::Refresh()
{
    m_entries.clear();
    DatabaseState& d = m_session.Database;
    try {
        if (!d.CurrentDatabase)
            throw std::runtime_error("No database is open.");
        m_entries = ReadChangeLog(*d.CurrentDatabase, m_filter);
    } catch (const std::exception& e) {
        m_session.ui.MessageBox(QStringLiteral("Error reading the change log: ") +
                                    EngineErrorText(d.CurrentDatabase.get(), e),
                                MessageIcon::Exclamation);
        return false;
    }
    std::reverse(m_entries.begin(), m_entries.end());
    return true;
}

QString ChangeLogBrowser::Cell(int row, int column) const
{
    if (row < 0 || row >= RowCount())
        return {};
    const ChangeLogEntry& entry = m_entries[static_cast<size_t>(row)];
    switch (column) {
    case 0:
        return entry.loggedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case 1:
        return ChangeKindName(entry.kind);
    case 2:
        return entry.what;
    case 3:
        return entry.records;
    case 4:
        return entry.user;
    default:
        return {};
    }
}

QString ChangeLogBrowser::CountText() const
{
    if (m_entries.empty())
        return QStringLiteral("No entries");
    return m_entries.size() == 1 ? QStringLiteral("1 entry")
                                 : QStringLiteral("%1 entries").arg(m_entries.size());
}
