#include "SearchTestDatabase.h"

#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

void CreateSearchDatabase(const QString& path, const std::vector<TestRecord>& records)
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec("CREATE TABLE Forms (FormID INTEGER PRIMARY KEY AUTOINCREMENT, Form_Name MEMO_TEXT, "
            "Form_Notes MEMO_TEXT, Form_Date DATE_TEXT, File_Name TEXT(255))");
    db.exec("CREATE TABLE Data (DataID INTEGER PRIMARY KEY AUTOINCREMENT, Field_Name TEXT(255), "
            "Field_Value MEMO_TEXT, FormID INTEGER REFERENCES Forms (FormID) ON DELETE CASCADE)");
    db.exec("CREATE INDEX FormID ON Data (FormID)");
    db.exec("CREATE TABLE Info (KeyID INTEGER PRIMARY KEY AUTOINCREMENT, Key MEMO_TEXT, Value "
            "MEMO_TEXT)");
    SQLite::Transaction transaction(db);
    SQLite::Statement form(db, "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, File_Name) "
                               "VALUES (?, '', ?, 'test.txt')");
    SQLite::Statement data(db,
                           "INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES (?, ?, ?)");
    for (const TestRecord& r : records) {
        form.bind(1, r.name.toStdString());
        if (r.date.isEmpty())
            form.bind(2);
        else
            form.bind(2, r.date.toStdString());
        form.exec();
        form.reset();
        const int64_t id = db.getLastInsertRowid();
        for (const auto& [name, value] : r.fields) {
            data.bind(1, name.toStdString());
            data.bind(2, value.toStdString());
            data.bind(3, id);
            data.exec();
            data.reset();
        }
    }
    transaction.commit();
}

QStringList ResultNames(const QString& resultPath)
{
    QStringList names;
    SQLite::Database db(resultPath.toStdString(), SQLite::OPEN_READONLY);
    SQLite::Statement q(db, "SELECT Form_Name FROM Forms ORDER BY FormID");
    while (q.executeStep())
        names.append(QString::fromStdString(q.getColumn(0).getString()));
    return names;
}
