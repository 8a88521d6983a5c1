#pragma once

#include "platform/Regional.h"
#include "search/SearchTypes.h"
#include "session/SearchState.h"

#include <QList>

// The criteria Find and Clear Search build from the chosen entry.
struct QuickFindCriteria {
    bool fieldFound = false; // false: "Field not found", nothing else is set
    QString lblFind;         // the criteria text shown in lblFind
    QString statementHead;   // "SELECT * INTO [Forms] IN ..." up to " WHERE "
    // The statement run by Find; empty with error set when the engine would
    // refuse the pattern (a non-date for a date field, a non-number for a
    // numeric one).
    SearchCondition condition;
    QString error;
};

// qualifiedName is the record-level field's "Forms.Column" (ignored for a
// field by name); pattern is the text typed, used unchanged as the pattern.
QuickFindCriteria BuildQuickFindCriteria(const QuickFindEntry& entry, const QString& qualifiedName,
                                         const QString& pattern,
                                         const ColumnKindLookup& formsColumns,
                                         const Regional& regional, const QString& resultPath);

namespace QuickFindMessages {
inline const QString kFieldNotFound = QStringLiteral("Field not found");
inline const QString kNoValue = QStringLiteral("Please enter a search value");
inline const QString kInvalidQuery = QStringLiteral("Invalid query: ");
inline const QString kInitError = QStringLiteral("Error initializing Quick Find: ");
} // namespace QuickFindMessages
