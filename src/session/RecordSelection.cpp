#include "session/RecordSelection.h"

#include "session/Session.h"

#include "platform/Numbers.h"

#include <algorithm>
#include <unordered_set>

void SelectRecordsController::Activate(bool rowsSelectedInSummary, Ui& ui)
{
    txtFrom = QStringLiteral("1");
    txtTo = QStringLiteral("1");
    if (!rowsSelectedInSummary) {
        rangeBoxesEnabled = false;
        option = kCurrentOnly;
        selectedOptionEnabled = false;
        ui.Yield();
    } else {
        selectedOptionEnabled = true;
        ChooseOption(kOnlySelected);
    }
}

void SelectRecordsController::ChooseOption(Option chosen)
{
    option = chosen;
    rangeBoxesEnabled = chosen == kIdRange;
}

bool SelectRecordsController::Ok(Ui& ui, const Regional& regional, RecordSelection& selection) const
{
    using namespace SelectionMessages;
    switch (option) {
    case kIdRange: {
        const IdRangeCheck range = CheckIdRange(regional, txtFrom, txtTo);
        if (range.result == IdRangeCheck::Ok) {
            selection = {range.from, range.to};
            return true;
        }
        ui.MessageBox(range.result == IdRangeCheck::NotANumber ? kInvalid : range.Message(),
                      MessageIcon::Exclamation);
        return false;
    }
    case kOnlySelected:
        selection = {RecordSelection::kSelectedRows, 0};
        return true;
    case kAll:
        selection = {RecordSelection::kAllRecords, 0};
        return true;
    case kCurrentOnly:
        selection = {RecordSelection::kCurrentRecord, 0};
        return true;
    case kNoOption:
        return true;
    }
    ui.MessageBox(kInvalid, MessageIcon::Exclamation);
    return false;
}

IdRangeCheck CheckIdRange(const Regional& regional, const QString& fromText, const QString& toText)
{
    IdRangeCheck check;
    auto whole = [&](const QString& text) -> std::optional<qint32> {
        const std::optional<double> number = regional.ParseNumber(text);
        return number ? ToInt32(*number) : std::nullopt;
    };
    const std::optional<qint32> from = whole(fromText);
    const std::optional<qint32> to = whole(toText);
    if (!from || !to) {
        check.notANumber = from ? toText : fromText;
        return check;
    }
    check.from = *from;
    check.to = *to;
    if (*to < *from)
        check.result = IdRangeCheck::FromAfterTo;
    else if (*from <= 0 || *to <= 0)
        check.result = IdRangeCheck::NotPositive;
    else
        check.result = IdRangeCheck::Ok;
    return check;
}

QString IdRangeCheck::Message() const
{
    switch (result) {
    case FromAfterTo:
        return SelectionMessages::kFromAfterTo;
    case NotPositive:
        return SelectionMessages::kNotPositive;
    case Ok:
    case NotANumber:
        break;
    }
    return SelectionMessages::kInvalid;
}

void SelectRecordsController::Cancel(RecordSelection& selection)
{
    selection = {RecordSelection::kCancelled, 0};
}

std::vector<qint64> SelectedRecords(const RecordSelection& selection,
                                    const std::vector<qint64>& summaryIds,
                                    const std::vector<qint64>& selectedIds,
                                    std::optional<qint64> currentId)
{
    std::vector<qint64> ids;
    const qint32 from = selection.SelectionFrom;
    if (from == RecordSelection::kAllRecords && selection.SelectionTo == 0)
        return summaryIds;
    if (from == RecordSelection::kCurrentRecord && selection.SelectionTo == 0) {
        if (currentId &&
            std::find(summaryIds.begin(), summaryIds.end(), *currentId) != summaryIds.end())
            ids.push_back(*currentId);
        return ids;
    }
    if (from == RecordSelection::kSelectedRows && selection.SelectionTo == 0) {
        const std::unordered_set<qint64> chosen(selectedIds.begin(), selectedIds.end());
        for (const qint64 id : summaryIds) {
            if (chosen.count(id))
                ids.push_back(id);
        }
        return ids;
    }
    if (from >= 1 && selection.SelectionTo >= from) {
        for (const qint64 id : summaryIds) {
            if (id >= from && id <= selection.SelectionTo)
                ids.push_back(id);
        }
    }
    return ids;
}

std::vector<qint64> RecordsToProcess(Session& session, const std::vector<qint64>& selectedRows)
{
    const RecordSelection& selection = session.Selection;
    const RecordSet& summary = session.Database.SummaryRecords;
    if (selection.SelectionFrom != RecordSelection::kSelectedRows || selection.SelectionTo != 0)
        return SelectedRecords(selection, summary.Ids(), selectedRows, summary.Bookmark());
    const std::unordered_set<qint64> inSummary(summary.Ids().begin(), summary.Ids().end());
    std::unordered_set<qint64> taken;
    std::vector<qint64> ids;
    for (const qint64 id : selectedRows) {
        if (inSummary.count(id) && taken.insert(id).second)
            ids.push_back(id);
    }
    return ids;
}
