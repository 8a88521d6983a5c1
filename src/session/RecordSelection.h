#pragma once

#include "platform/Regional.h"
#include "platform/Ui.h"

#include <optional>
#include <vector>

// The records an operation applies to, in terms of the record summary.
struct RecordSelection {
    // Codes of SelectionFrom (SelectionTo 0); 1 or more starts an ID range.
    static constexpr qint32 kSelectedRows = -1;
    static constexpr qint32 kAllRecords = -2;
    static constexpr qint32 kCurrentRecord = -3;
    static constexpr qint32 kCancelled = 0;

    qint32 SelectionFrom = 0;
    qint32 SelectionTo = 0;
    bool operator==(const RecordSelection&) const = default;
};

// The Select Records dialog without its window: the option chosen, which
// controls can be used, the two boxes and what OK and Cancel do.
class SelectRecordsController {
public:
    enum Option { kOnlySelected = 0, kAll = 1, kIdRange = 2, kCurrentOnly = 3, kNoOption = -1 };

    // Every showing starts here: both boxes "1".
    void Activate(bool rowsSelectedInSummary, Ui& ui);
    void ChooseOption(Option option);

    // OK: true when the dialog closes (selection then holds the answer);
    // false when a message was shown and it stays open.
    bool Ok(Ui& ui, const Regional& regional, RecordSelection& selection) const;
    // Cancel: the selection becomes (0, 0) and the dialog closes.
    static void Cancel(RecordSelection& selection);

    Option option = kNoOption;
    bool selectedOptionEnabled = true;
    bool rangeBoxesEnabled = false;
    QString txtFrom = QStringLiteral("1");
    QString txtTo = QStringLiteral("1");
};

// An ID range typed as two texts ("From" and "To"), checked one way
// wherever the user gives one: both whole numbers (rounded half to even),
// From not after To, both above zero.
struct IdRangeCheck {
    enum Result { Ok, NotANumber, FromAfterTo, NotPositive };
    Result result = NotANumber;
    qint32 from = 0;
    qint32 to = 0;
    QString notANumber; // the text that is no number
    // The message for FromAfterTo and NotPositive.
    QString Message() const;
};
IdRangeCheck CheckIdRange(const Regional& regional, const QString& from, const QString& to);

// The FormIDs a selection denotes, in the summary's order: the summary's
// selected rows, all its rows, its current row, or its rows whose FormID
// lies in the range (numbers not in the summary are skipped). Empty for a
// cancelled selection.
std::vector<qint64> SelectedRecords(const RecordSelection& selection,
                                    const std::vector<qint64>& summaryIds,
                                    const std::vector<qint64>& selectedIds,
                                    std::optional<qint64> currentId);

namespace SelectionMessages {
inline const QString kInvalid = QStringLiteral("Invalid selection");
inline const QString kFromAfterTo = QStringLiteral("'From' value should be less than 'To' value");
inline const QString kNotPositive =
    QStringLiteral("Please enter valid 'From' and 'To' values for Form ID");
} // namespace SelectionMessages

class Session;

// The records the session's Selection denotes, in the order they are
// worked on: the selected rows in selection order (rows no longer in the
// summary skipped), otherwise as SelectedRecords gives them.
std::vector<qint64> RecordsToProcess(Session& session, const std::vector<qint64>& selectedRows);
