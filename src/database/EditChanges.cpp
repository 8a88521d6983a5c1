#include "database/EditChanges.h"

#include "platform/DatabaseConnection.h"

#include <QStringList>
#include <map>
#include <stdexcept>

namespace {

// The header's columns after the key: name, notes, date, source.
constexpr int kHeaderColumns = 4;

QString Characters(qsizetype length)
{
    return QStringLiteral("%1 characters").arg(length);
}

} // namespace

RecordSnapshot ReadRecordSnapshot(DatabaseConnection& connection, qint64 formId)
{
    RecordSnapshot snapshot;
    const TableLayout& forms = connection.Layout(QStringLiteral("Forms"));
    const TableLayout& data = connection.Layout(QStringLiteral("Data"));
    if (forms.size() <= kHeaderColumns || data.size() < 4)
        throw std::runtime_error("The record tables lack columns.");
    // The statements' texts come from the layout, built the first time only.
    SQLite::Statement& header = connection.Cached("read a record's header", [&] {
        std::string columns;
        for (int i = 1; i <= kHeaderColumns; ++i)
            columns += (i > 1 ? ", " : "") + QuotedName(forms[static_cast<size_t>(i)].name);
        return "SELECT " + columns + " FROM \"Forms\" WHERE " + QuotedName(forms[0].name) + " = ?";
    });
    header.bind(1, static_cast<int64_t>(formId));
    if (header.executeStep()) {
        for (int i = 0; i < kHeaderColumns; ++i)
            snapshot.values.push_back({-1 - i, forms[static_cast<size_t>(i + 1)].name,
                                       QString::fromUtf8(header.getColumn(i).getText())});
    }
    header.reset();
    SQLite::Statement& fields = connection.Cached("read a record's fields", [&] {
        return "SELECT " + QuotedName(data[0].name) + ", " + QuotedName(data[1].name) + ", " +
               QuotedName(data[2].name) + " FROM \"Data\" WHERE " + QuotedName(data.back().name) +
               " = ? ORDER BY " + QuotedName(data[0].name);
    });
    fields.bind(1, static_cast<int64_t>(formId));
    while (fields.executeStep())
        snapshot.values.push_back({fields.getColumn(0).getInt64(),
                                   QString::fromUtf8(fields.getColumn(1).getText()),
                                   QString::fromUtf8(fields.getColumn(2).getText())});
    fields.reset();
    return snapshot;
}

QString DescribeEdit(const RecordSnapshot& before, const RecordSnapshot& after)
{
    std::map<qint64, const RecordSnapshot::Value*> old;
    for (const RecordSnapshot::Value& value : before.values)
        old.emplace(value.key, &value);
    QStringList changes;
    for (const RecordSnapshot::Value& now : after.values) {
        const auto found = old.find(now.key);
        if (found == old.end()) {
            changes.append(now.name + QStringLiteral(": added, ") + Characters(now.value.size()));
            continue;
        }
        const RecordSnapshot::Value& was = *found->second;
        old.erase(found);
        if (was.name != now.name)
            changes.append(was.name + QStringLiteral(" renamed to ") + now.name);
        if (was.value != now.value)
            changes.append(now.name + QStringLiteral(": %1 -> %2")
                                          .arg(was.value.size())
                                          .arg(Characters(now.value.size())));
    }
    for (const RecordSnapshot::Value& value : before.values) {
        if (old.count(value.key))
            changes.append(value.name + QStringLiteral(": removed, ") +
                           Characters(value.value.size()));
    }
    return changes.join(QStringLiteral("; "));
}
