#include "duplicates/DuplicateKeys.h"

#include "platform/DatabaseConnection.h"
#include "platform/WriteTransaction.h"

#include <SQLiteCpp/Statement.h>
#include <algorithm>

namespace {

const char* const kCreateTable =
    "CREATE TABLE IF NOT EXISTS \"DuplicateKeys\" (\"Key\" TEXT PRIMARY KEY, \"Value\" TEXT)";

bool IsAscii(QByteArrayView text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Appends the digits of a phone-like value to out; false (out as it was)
// when it is not one.
bool AppendPhoneDigits(QByteArrayView text, std::string& out)
{
    const size_t before = out.size();
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            out += c;
        else if (!IsBlank(c) && c != '+' && c != '-' && c != '(' && c != ')' && c != '.') {
            out.resize(before);
            return false;
        }
    }
    if (out.size() - before >= 7)
        return true;
    out.resize(before);
    return false;
}

} // namespace

void AppendComparedKeyValue(QByteArrayView utf8, std::string& out)
{
    if (!IsAscii(utf8)) {
        // Beyond ASCII the text's own rules say what a blank and a letter's
        // case are; such a value is never phone-like.
        const QString text = QString::fromUtf8(utf8).trimmed();
        const QString compared =
            text.contains(QLatin1Char('@')) ? text.toLower() : text.toCaseFolded();
        out += compared.toStdString();
        return;
    }
    qsizetype first = 0;
    qsizetype last = utf8.size();
    while (first < last && IsBlank(utf8[first]))
        ++first;
    while (last > first && IsBlank(utf8[last - 1]))
        --last;
    const QByteArrayView text = utf8.sliced(first, last - first);
    if (!text.contains('@') && AppendPhoneDigits(text, out))
        return;
    for (const char c : text)
        out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string ComparedKeyValue(QByteArrayView utf8)
{
    std::string out;
    AppendComparedKeyValue(utf8, out);
    return out;
}

DuplicateKeys LoadDuplicateKeys(DatabaseConnection& connection)
{
    DuplicateKeys keys;
    SQLite::Database& db = connection.Db();
    if (!db.tableExists("DuplicateKeys"))
        return keys;
    SQLite::Statement rows(db, "SELECT \"Key\", \"Value\" FROM \"DuplicateKeys\"");
    while (rows.executeStep()) {
        const QString key = QString::fromUtf8(rows.getColumn(0).getText());
        const QString value = QString::fromUtf8(rows.getColumn(1).getText());
        if (key == QLatin1String("Fields"))
            keys.fields = value.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        else if (key == QLatin1String("WholeResponse"))
            keys.wholeResponse = value == QLatin1String("1");
        else if (key == QLatin1String("WithinDays")) {
            bool ok = false;
            const int days = value.toInt(&ok);
            if (ok && days >= 0)
                keys.withinDays = days;
        }
    }
    return keys;
}

void SaveDuplicateKeys(DatabaseConnection& connection, const DuplicateKeys& keys)
{
    InWriteTransaction(connection, [&](SQLite::Database& db) {
        db.exec(kCreateTable);
        db.exec("DELETE FROM \"DuplicateKeys\"");
        SQLite::Statement insert(db, "INSERT INTO \"DuplicateKeys\" VALUES (?, ?)");
        const auto put = [&](const char* key, const QString& value) {
            insert.reset();
            insert.bind(1, key);
            insert.bind(2, value.toStdString());
            insert.exec();
        };
        put("Fields", keys.fields.join(QStringLiteral("\r\n")));
        put("WholeResponse", keys.wholeResponse ? QStringLiteral("1") : QStringLiteral("0"));
        if (keys.withinDays)
            put("WithinDays", QString::number(*keys.withinDays));
    });
}

QStringList KnownKeyFields(const QStringList& wanted, const QString& fieldNamesList,
                           QString* unknown)
{
    const QStringList stored = fieldNamesList.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QStringList known;
    for (const QString& name : wanted) {
        const QString trimmed = name.trimmed();
        const auto found = std::find_if(stored.begin(), stored.end(), [&](const QString& s) {
            return s.compare(trimmed, Qt::CaseInsensitive) == 0;
        });
        if (found == stored.end()) {
            *unknown = trimmed;
            return {};
        }
        if (!known.contains(*found))
            known.append(*found);
    }
    return known;
}
