#include "database/DatabaseCreation.h"

#include "database/ChangeLog.h"
#include "platform/DatabaseConnection.h"
#include "platform/ErrorText.h"
#include "platform/Numbers.h"
#include "platform/SchemaLines.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <SQLiteCpp/Transaction.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

// The SQL of one record table, from its description in the schema lines.
std::vector<std::string> RecordTableStatements(int description)
{
    const int header = ToInt32(LeadingNumber(SchemaLineText(description))).value_or(0);
    const SchemaLine table = ParseSchemaLine(SchemaLineText(header));
    if (table.name.isEmpty() || table.size < 1)
        throw std::runtime_error(
            QStringLiteral("Schema line %1 describes no table").arg(header).toStdString());
    const bool linked = table.type != kMasterTable;

    QStringList columns;
    qint16 type = kUnknownColumn;
    for (int i = 0; i < table.size; ++i) {
        const SchemaLine field = ParseSchemaLine(SchemaLineText(header + 1 + i), type);
        type = field.type;
        const QString name = QString::fromStdString(QuotedName(field.name));
        if (i == 0) {
            // The first field is the record table's auto-numbered key.
            if (field.type != kLongColumn)
                throw std::runtime_error(QStringLiteral("Key field %1 is not a Long field")
                                             .arg(field.name)
                                             .toStdString());
            columns.append(name + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT"));
            continue;
        }
        QString column = name + QLatin1Char(' ') + DeclaredType(field.type, field.size);
        if (field.flag) {
            if (field.type == kTextColumn || field.type == kMemoColumn)
                column += QStringLiteral(" CHECK (") + name + QStringLiteral(" <> '')");
            else
                column += QStringLiteral(" NOT NULL");
        }
        columns.append(column);
    }
    if (linked) {
        columns.append(QStringLiteral("\"FormID\" INTEGER"));
        columns.append(QStringLiteral("CONSTRAINT ") +
                       QString::fromStdString(QuotedName(QStringLiteral("FormTo") + table.name)) +
                       QStringLiteral(" FOREIGN KEY (\"FormID\") REFERENCES \"Forms\" (\"FormID\")"
                                      " ON DELETE CASCADE"));
    }
    std::vector<std::string> statements;
    statements.push_back("CREATE TABLE " + QuotedName(table.name) + " (" +
                         columns.join(QStringLiteral(", ")).toStdString() + ")");
    if (linked)
        statements.push_back("CREATE INDEX \"FormID\" ON " + QuotedName(table.name) +
                             " (\"FormID\")");
    return statements;
}

// Gives the finished file at temporary the name path too, never replacing
// a file of that name (a hard link, or where the file system has none a
// rename that refuses to replace). The caller removes temporary.
bool PlaceNewFile(const QString& temporary, const QString& path, QString* error)
{
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(path);
    int result = ::link(from.constData(), to.constData());
    if (result != 0 && (errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK))
        result =
            ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (result == 0)
        return true;
    *error = errno == EEXIST ? QStringLiteral("Database '%1' already exists.").arg(path)
                             : QStringLiteral("Cannot create '%1': %2")
                                   .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

} // namespace

QString ProgramVersionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(TALLOWMERE_VERSION_MAJOR)
        .arg(TALLOWMERE_VERSION_MINOR)
        .arg(TALLOWMERE_VERSION_PATCH);
}

int ProgramMajorVersion()
{
    return TALLOWMERE_VERSION_MAJOR;
}

QString DanglingLinkProblem(const QString& path)
{
    const QFileInfo link(path);
    if (!link.isSymLink() || link.exists())
        return {};
    return QStringLiteral("'%1' is a symbolic link to '%2', which does not exist")
        .arg(path, link.symLinkTarget());
}

bool CreateNewDatabase(Ui& ui, const QString& path)
{
    BusyPointer busy(ui);
    if (const QString dangling = DanglingLinkProblem(path); !dangling.isEmpty()) {
        ui.MessageBox(QStringLiteral("Cannot create the database: ") + dangling,
                      MessageIcon::Exclamation);
        return false;
    }
    if (QFileInfo::exists(path)) {
        ui.MessageBox(QStringLiteral("Database '%1' already exists.").arg(path),
                      MessageIcon::Exclamation);
        return false;
    }
    // The log or rollback journal of an earlier database of this name, left
    // when that database was deleted while in use, would be played into the
    // new file the first time it is opened, mixing the old records in.
    for (const char* suffix : {"-wal", "-journal"}) {
        const QString leftover = path + QLatin1String(suffix);
        if (QFileInfo::exists(leftover)) {
            ui.MessageBox(QStringLiteral("Cannot create the database: '%1' is left from an earlier "
                                         "database of that name; move it away or delete it first.")
                              .arg(leftover),
                          MessageIcon::Exclamation);
            return false;
        }
    }
    // The file is made whole under a name of its own beside the target and
    // only then given the target's name, so a create that is stopped part
    // way never leaves an empty or half-made file there. The name is new
    // each time: one left behind stands in nobody's way.
    const QFileInfo target(path);
    const QString temporary =
        QDir(target.absolutePath())
            .filePath(QStringLiteral(".%1.%2.tmp")
                          .arg(target.fileName())
                          .arg(QRandomGenerator::global()->generate64(), 0, 36));
    std::unique_ptr<DatabaseConnection> connection;
    try {
        connection = DatabaseConnection::CreateFile(temporary);
    } catch (const std::exception& e) {
        // The message names the file the user asked for.
        ui.MessageBox(ErrorText(e).replace(temporary, path), MessageIcon::Exclamation);
        return false;
    }

    try {
        SQLite::Database& db = connection->Db();
        // One transaction: a failure leaves no half-built layout behind.
        SQLite::Transaction transaction(db);
        db.exec("PRAGMA application_id=" + std::to_string(DatabaseConnection::kApplicationId));
        for (int description = 1; description <= kSchemaTables; ++description) {
            for (const std::string& sql : RecordTableStatements(description))
                db.exec(sql);
        }
        db.exec("CREATE TABLE \"Info\" (\"KeyID\" INTEGER PRIMARY KEY AUTOINCREMENT, "
                "\"Key\" MEMO_TEXT, \"Value\" MEMO_TEXT)");
        const QString rows[][2] = {
            {QStringLiteral("Created by"), QStringLiteral("Tallowmere")},
            {QStringLiteral("Version"), ProgramVersionText()},
            {QStringLiteral("Type"), QStringLiteral("Normal")},
            {QStringLiteral("FieldNamesList"), QString()},
        };
        SQLite::Statement insert(db, "INSERT INTO \"Info\" (\"Key\", \"Value\") VALUES (?, ?)");
        for (const auto& row : rows) {
            insert.bind(1, row[0].toStdString());
            insert.bind(2, row[1].toStdString());
            insert.exec();
            insert.reset();
        }
        CreateChangeLogTable(db);
        transaction.commit();
    } catch (const std::exception& e) {
        connection.reset();
        // The file was created a moment ago and holds nothing of the user's.
        QFile::remove(temporary);
        ui.MessageBox(ErrorText(e), MessageIcon::Exclamation);
        return false;
    }
    connection.reset();
    QString error;
    const bool placed = PlaceNewFile(temporary, path, &error);
    QFile::remove(temporary);
    if (!placed) {
        ui.MessageBox(error, MessageIcon::Exclamation);
        return false;
    }
    ui.MessageBox(path + QStringLiteral(" Database Created"));
    return true;
}
