#include "search/RecordSelection.h"

#include "platform/Numbers.h"

#include <algorithm>
#include <unordered_set>

void RecordSelectionDialog::Activate(bool rowsSelectedInSummary, Ui& ui)
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

void RecordSelectionDialog::ChooseOption(Option chosen)
{
    option = chosen;
    rangeBoxesEnabled = chosen == kIdRange;
}

bool RecordSelectionDialog::Ok(Ui& ui, const Regional& regional, RecordSelection& selection) const
{
    using namespace SelectionMessages;
    switch (option) {
    case kIdRange: {
        auto toInt = [&](const QString& text) -> std::optional<qint32> {
            const std::optional<double> number = regional.ParseNumber(text);
            return number ? ToInt32(*number) : std::nullopt;
        };
        const std::optional<qint32> from = toInt(txtFrom);
        const std::optional<qint32> to = toInt(txtTo);
        if (!from || !to) {
            ui.MessageBox(kInvalid, MessageIcon::Exclamation);
            return false;
        }
        if (*to < *from) {
            ui.MessageBox(kFromAfterTo, MessageIcon::Exclamation);
            return false;
        }
        if (*from > 0 && *to > 0) {
            selection = {*from, *to};
            return true;
        }
        ui.MessageBox(kNotPositive, MessageIcon::Exclamation);
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

void RecordSelectionDialog::Cancel(RecordSelection& selection)
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
