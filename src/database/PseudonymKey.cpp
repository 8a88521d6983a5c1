#include "database/PseudonymKey.h"

#include "platform/DatabaseConnection.h"
#include "platform/WriteTransaction.h"

#include <QRandomGenerator>
#include <SQLiteCpp/Statement.h>

namespace {

const char* const kKey = "PseudonymKey";
constexpr int kKeyBytes = 32;

QByteArray Read(SQLite::Database& db)
{
    SQLite::Statement read(
        db, "SELECT \"Value\" FROM \"Info\" WHERE \"Key\" = ? ORDER BY \"KeyID\" LIMIT 1");
    read.bind(1, kKey);
    if (!read.executeStep())
        return {};
    const QByteArray key = QByteArray::fromHex(read.getColumn(0).getString().c_str());
    return key.size() == kKeyBytes ? key : QByteArray();
}

} // namespace

QByteArray StoredPseudonymKey(DatabaseConnection& connection)
{
    return Read(connection.Db());
}

QByteArray PseudonymKeyOf(DatabaseConnection& connection)
{
    if (QByteArray key = Read(connection.Db()); !key.isEmpty())
        return key;
    QByteArray key;
    InWriteTransaction(connection, [&](SQLite::Database& db) {
        // Another program may have made it since it was read.
        key = Read(db);
        if (!key.isEmpty())
            return;
        key.resize(kKeyBytes);
        QRandomGenerator::system()->generate(reinterpret_cast<quint32*>(key.data()),
                                             reinterpret_cast<quint32*>(key.data() + kKeyBytes));
        SQLite::Statement remove(db, "DELETE FROM \"Info\" WHERE \"Key\" = ?");
        remove.bind(1, kKey);
        remove.exec();
        SQLite::Statement insert(db, "INSERT INTO \"Info\" (\"Key\", \"Value\") VALUES (?, ?)");
        insert.bind(1, kKey);
        insert.bind(2, key.toHex().toStdString());
        insert.exec();
    });
    return key;
}
