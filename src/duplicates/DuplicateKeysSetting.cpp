#include "duplicates/DuplicateKeysSetting.h"

#include "duplicates/DuplicateFinder.h"
#include "duplicates/DuplicateMarks.h"
#include "platform/DatabaseConnection.h"
#include "session/Session.h"

bool DuplicateKeysSetting::Load()
{
    DatabaseConnection* connection = m_session.Database.CurrentDatabase.get();
    if (!connection)
        return false;
    try {
        m_saved = LoadDuplicateKeys(*connection);
    } catch (const std::exception& e) {
        m_session.ui.MessageBox(QStringLiteral("Error reading the duplicate keys: ") +
                                    EngineErrorText(connection, e),
                                MessageIcon::Exclamation);
        return false;
    }
    m_fieldNames = m_session.Database.CurrentFieldNames.Names();
    return true;
}

bool DuplicateKeysSetting::Save(const DuplicateKeys& keys)
{
    Ui& ui = m_session.ui;
    DatabaseConnection& connection = *m_session.Database.CurrentDatabase;
    if (keys.withinDays && (*keys.withinDays < 0 || *keys.withinDays > 36500)) {
        ui.MessageBox(QStringLiteral("The number of days must be from 0 to 36500."),
                      MessageIcon::Exclamation);
        return false;
    }
    DuplicateKeys stored = keys;
    if (!keys.wholeResponse) {
        QString unknown;
        stored.fields =
            KnownKeyFields(keys.fields, m_session.Database.CurrentFieldNames.List(), &unknown);
        if (stored.fields.isEmpty() && !keys.fields.isEmpty()) {
            ui.MessageBox(
                QStringLiteral("Unknown key field '%1': the database has no field of that name")
                    .arg(unknown),
                MessageIcon::Exclamation);
            return false;
        }
    }
    try {
        SaveDuplicateKeys(connection, stored);
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error saving the duplicate keys: ") +
                          EngineErrorText(&connection, e),
                      MessageIcon::Exclamation);
        return false;
    }
    m_saved = stored;
    std::vector<DuplicateGroup> groups;
    if (stored.IsSet()) {
        DuplicateSearch search = FindDuplicateGroups(m_session, stored);
        if (!search.ok)
            return false;
        groups = std::move(search.groups);
    }
    int marked = 0;
    try {
        DropClearedRecords(groups, LoadDuplicateMarks(connection));
        marked = MarkDuplicateGroups(connection, groups);
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error marking possible duplicates: ") +
                          EngineErrorText(&connection, e),
                      MessageIcon::Exclamation);
        return false;
    }
    ui.SetStatusText(
        stored.IsSet()
            ? QStringLiteral("Duplicate keys saved: %1 possible duplicate(s)").arg(marked)
            : QStringLiteral("Duplicate keys cleared"));
    emit m_session.Events.SummaryReloaded(m_session.Database.SummaryRecords.Count());
    return true;
}
