// Import of 20,000 form responses that each bring a field name of their
// own, beside the same number of responses sharing their names, and a
// transfer of the first set into a new database: the field-names list
// grows by one name a record, which must cost what the name costs.
// Run: build/bench/field_names_bench [records]
#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "responses/ResponseImport.h"

#include "TimedImport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QString Generate(const QString& path, int records, bool distinct)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    for (int r = 0; r < records; ++r) {
        const QByteArray name =
            distinct ? "question_" + QByteArray::number(r) + "_answer" : "question_answer";
        file.write("From: form@example.org\r\nSubject: Response\r\n\r\n");
        file.write("name=Person+" + QByteArray::number(r) + "&" + name + "=yes\r\n\r\n");
    }
    return path;
}

// The names a new reader of the database finds stored.
int StoredNames(const QString& folder, const QString& db)
{
    ScriptedUi ui;
    Session reader(ui, ProgramFolders(folder, folder));
    reader.Database.RememberLastUsedDB = false;
    OpenResumeDatabase(reader, db);
    return static_cast<int>(
        reader.Database.CurrentFieldNames.List().split("\r\n", Qt::SkipEmptyParts).size());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 20000;
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString distinct = Generate(folder + "/distinct.txt", records, true);
    const QString shared = Generate(folder + "/shared.txt", records, false);

    const double many = bench::ImportSeconds(folder, folder + "/distinct.fdb", distinct);
    int fields = StoredNames(folder, folder + "/distinct.fdb");
    std::printf("distinct names: %.2f s for %d records, %d names in the stored list\n", many,
                records, fields);
    const double few = bench::ImportSeconds(folder, folder + "/shared.fdb", shared);
    fields = StoredNames(folder, folder + "/shared.fdb");
    std::printf("shared names:   %.2f s for %d records, %d names in the stored list\n", few,
                records, fields);
    std::printf("ratio:          %.2f x\n", many / few);
    return 0;
}
