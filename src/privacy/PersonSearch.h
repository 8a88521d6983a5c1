#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class DatabaseConnection;

// What "Find a person's data" looks for: an e-mail address, found only as
// a whole address (not inside a longer one), or any text. Letter case is
// ignored for all of Unicode, as the program's searches ignore it.
struct PersonQuery {
    QString text;
    bool address = true;
};

// Why the query cannot be run ("'bob' is not an e-mail address"), or empty.
QString PersonQueryProblem(const PersonQuery& query);

// A record holding the person's data, and where: "Record Name", "Notes"
// and the field names, in the record's order.
struct PersonRecord {
    qint64 formId = 0;
    QStringList where;
};

// Every record whose name, notes or any field value holds the query, in
// FormID order. Throws the engine's errors.
std::vector<PersonRecord> FindPersonRecords(DatabaseConnection& connection,
                                            const PersonQuery& query);

// Whether value holds the query as FindPersonRecords takes it; value in UTF-8.
bool HoldsPerson(QByteArrayView value, const PersonQuery& query);
