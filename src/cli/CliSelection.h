#pragma once

#include "session/RecordChooser.h"
#include "session/RecordSelection.h"
#include "platform/DatabaseConnection.h"

#include <QStringList>

struct CliContext;

// The records a delete or transfer verb works on, from its options:
// every record of the summary, an ID range (--ids FROM-TO), or the records
// a Quick Find (--find FIELD PATTERN) or a query file (--query FILE.qry)
// finds. Opens the database and runs the search on Prepare.
class CliSelection : public RecordChooser {
public:
    // Takes the selection options out of args; false (and *usage) when
    // they are malformed.
    bool TakeOptions(QStringList& args, QString* usage);
    // Opens database and runs the search, if any; false after a message.
    bool Prepare(CliContext& context, const QString& database,
                 DatabaseAccess access = DatabaseAccess::ReadWrite);

    void ShowSelectDialog(const QString& caption) override;
    std::vector<qint64> SelectedSummaryRows() const override { return {}; }

private:
    CliContext* m_context = nullptr;
    QStringList m_find;
    QString m_query;
    bool m_hasQuery = false;
    bool m_hasIds = false;
    QString m_from, m_to;
};
