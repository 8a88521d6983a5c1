#include "search/DuplicateReview.h"

#include "database/SummaryNavigation.h"
#include "duplicates/DuplicateKeys.h"
#include "duplicates/DuplicateMarks.h"
#include "platform/DatabaseConnection.h"
#include "platform/ErrorText.h"
#include "search/MergedAway.h"
#include "session/Session.h"

namespace {

const QString kReviewError = QStringLiteral("Error reviewing duplicates: ");

} // namespace

bool DuplicateReview::Start()
{
    Ui& ui = m_session.ui;
    DatabaseConnection* connection = m_session.Database.CurrentDatabase.get();
    if (!connection)
        return false;
    DuplicateKeys keys;
    try {
        keys = LoadDuplicateKeys(*connection);
    } catch (const std::exception& e) {
        ui.MessageBox(kReviewError + EngineErrorText(connection, e), MessageIcon::Exclamation);
        return false;
    }
    if (!keys.IsSet()) {
        ui.MessageBox(QStringLiteral("No duplicate keys are set for this database: choose them "
                                     "in Options > Duplicate keys..."),
                      MessageIcon::Information);
        return false;
    }
    DuplicateSearch search = FindDuplicateGroups(m_session, keys);
    if (!search.ok)
        return false;
    try {
        DropClearedRecords(search.groups, LoadDuplicateMarks(*connection));
    } catch (const std::exception& e) {
        ui.MessageBox(kReviewError + EngineErrorText(connection, e), MessageIcon::Exclamation);
        return false;
    }
    m_groups = std::move(search.groups);
    if (m_groups.empty()) {
        ui.MessageBox(QStringLiteral("No possible duplicates were found."),
                      MessageIcon::Information);
        return false;
    }
    return ShowGroup(0);
}

bool DuplicateReview::ShowGroup(int index)
{
    if (index < 0 || index >= GroupCount())
        return false;
    DatabaseConnection& connection = *m_session.Database.CurrentDatabase;
    std::vector<qint64> ids;
    for (const DuplicateMember& member : m_groups[static_cast<size_t>(index)].records)
        ids.push_back(member.formId);
    try {
        m_preview = PreviewMerge(connection, ids);
    } catch (const std::exception& e) {
        m_session.ui.MessageBox(kReviewError + EngineErrorText(&connection, e),
                                MessageIcon::Exclamation);
        return false;
    }
    m_current = index;
    m_choices.clear();
    return true;
}

qint64 DuplicateReview::ChosenFor(int field) const
{
    const MergeField& f = m_preview.fields[static_cast<size_t>(field)];
    const auto choice = m_choices.find(f.folded);
    return choice == m_choices.end() ? f.latest : choice->second;
}

void DuplicateReview::Choose(int field, qint64 formId)
{
    const MergeField& f = m_preview.fields[static_cast<size_t>(field)];
    if (formId == f.latest)
        m_choices.erase(f.folded);
    else
        m_choices[f.folded] = formId;
}

bool DuplicateReview::GroupGone()
{
    if (m_preview.ids.size() >= 2)
        return false;
    m_session.ui.MessageBox(QStringLiteral("Only one record of this group is left: another "
                                           "program has merged or deleted the others."),
                            MessageIcon::Information);
    DropCurrent();
    return true;
}

bool DuplicateReview::Merge()
{
    Ui& ui = m_session.ui;
    if (GroupGone())
        return true;
    const std::vector<qint64> ids = m_preview.ids;
    const QString question =
        QStringLiteral("Merge the %1 records of this group into record %2? The other records "
                       "are deleted.")
            .arg(ids.size())
            .arg(ids.front());
    if (ui.MessageBox(question, MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    const MergeOutcome outcome = MergeRecords(*m_session.Database.CurrentDatabase, m_session.Now,
                                              ids, std::nullopt, m_choices);
    if (!outcome.merged) {
        ui.MessageBox(QStringLiteral("Error merging records: ") + outcome.error,
                      MessageIcon::Exclamation);
        return false;
    }
    std::vector<qint64> deleted(ids.begin() + 1, ids.end());
    ShowMergedAway(m_session, outcome.kept, deleted);
    ui.SetStatusText(
        QStringLiteral("%1 record(s) merged into record %2").arg(ids.size()).arg(outcome.kept));
    DropCurrent();
    return true;
}

bool DuplicateReview::NotDuplicates()
{
    if (GroupGone())
        return true;
    DatabaseConnection& connection = *m_session.Database.CurrentDatabase;
    try {
        ClearDuplicateGroup(connection, m_preview.ids);
    } catch (const std::exception& e) {
        m_session.ui.MessageBox(QStringLiteral("Error clearing the duplicate marks: ") +
                                    EngineErrorText(&connection, e),
                                MessageIcon::Exclamation);
        return false;
    }
    m_session.ui.SetStatusText(
        QStringLiteral("Records %1 are no longer marked as duplicates").arg([&] {
            QStringList numbers;
            for (const qint64 id : m_preview.ids)
                numbers.append(QString::number(id));
            return numbers.join(QStringLiteral(", "));
        }()));
    emit m_session.Events.SummaryReloaded(m_session.Database.SummaryRecords.Count());
    DropCurrent();
    return true;
}

void DuplicateReview::DropCurrent()
{
    m_groups.erase(m_groups.begin() + m_current);
    m_preview = {};
    m_choices.clear();
    if (m_groups.empty())
        return;
    ShowGroup(std::min(m_current, GroupCount() - 1));
}
