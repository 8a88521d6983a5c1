#pragma once

#include <QString>
#include <QStringList>
#include <SQLiteCpp/Database.h>
#include <utility>
#include <vector>

// A small database with the program's tables, built directly for tests of
// the search language: each record a name, a date and named fields.
struct TestRecord {
    QString name;
    QString date; // ISO, or empty for none
    std::vector<std::pair<QString, QString>> fields;
};

// Creates the file at path with the records in order (FormIDs from 1).
void CreateSearchDatabase(const QString& path, const std::vector<TestRecord>& records);

// Names of the rows of the result file, in order.
QStringList ResultNames(const QString& resultPath);
