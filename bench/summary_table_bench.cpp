// The record summary as a table of responses on 1,000,000 records of ten
// fields (and on 100,000): the first screen with no field columns and with
// three, the first screen after sorting by a field column, a filter on a
// field column, and the resident memory while scrolling from top to bottom
// with field columns.
// Run: build-release/bench/summary_table_bench [records]   (the databases
// are made once in the bench folder and kept for later runs)
#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "search/SummaryModel.h"
#include "search/SummaryView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <cstdio>

namespace {

const char* const kCountries[] = {"France", "Germany", "Finland", "Spain", "Italy",
                                  "Canada", "Japan",   "Brazil",  "Kenya", "Norway"};

// VmRSS of this process in MB.
double ResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2 && parts[0] == "VmRSS:")
                return parts[1].toDouble() / 1024.0;
        }
    return 0;
}

bool MakeDatabase(const QString& path, int records)
{
    ScriptedUi ui;
    if (!CreateNewDatabase(ui, path))
        return false;
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    db.exec("PRAGMA journal_mode = OFF");
    db.exec("PRAGMA synchronous = OFF");
    SQLite::Transaction transaction(db);
    SQLite::Statement form(db, "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, File_Name) "
                               "VALUES (?, '', ?, 'responses.txt')");
    SQLite::Statement field(db,
                            "INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES (?, ?, ?)");
    unsigned seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) % 100000; };
    for (int i = 1; i <= records; ++i) {
        form.bind(1, "Person " + std::to_string(i));
        form.bind(2, "2024-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10));
        form.exec();
        form.reset();
        const long long id = db.getLastInsertRowid();
        const std::string values[] = {
            "Person " + std::to_string(i),
            "person" + std::to_string(i) + "@example.org",
            std::to_string(next() % 101),
            kCountries[next() % 10],
            "City " + std::to_string(next() % 500),
            "2023-" + std::to_string(10 + next() % 3) + "-1" + std::to_string(next() % 10),
            next() % 2 ? "yes" : "no",
            "Product " + std::to_string(next() % 40),
            "+1 555 " + std::to_string(1000000 + next()),
            "A comment of some words, number " + std::to_string(next()),
        };
        const char* const names[] = {"name",      "email", "score",   "country", "city",
                                     "purchased", "again", "product", "phone",   "comments"};
        for (int f = 0; f < 10; ++f) {
            field.bind(1, names[f]);
            field.bind(2, values[f]);
            field.bind(3, static_cast<int64_t>(id));
            field.exec();
            field.reset();
        }
    }
    transaction.commit();
    return true;
}

QString Prepared(int records)
{
    const QString path = QCoreApplication::applicationDirPath() +
                         QStringLiteral("/summary_table_%1.fdb").arg(records);
    if (QFileInfo::exists(path))
        return path;
    std::printf("making %d records of 10 fields in %s ...\n", records, qPrintable(path));
    QElapsedTimer make;
    make.start();
    if (!MakeDatabase(path + QStringLiteral(".new"), records) ||
        !QFile::rename(path + QStringLiteral(".new"), path))
        return {};
    std::printf("made in %.1f s\n", make.elapsed() / 1000.0);
    return path;
}

// The rows a window shows first.
void FirstScreen(SummaryModel& model)
{
    for (int row = 0; row < 40 && row < model.rowCount(); ++row)
        for (int c = 0; c < model.columnCount(); ++c)
            (void)model.data(model.index(row, c));
}

double Ms(QElapsedTimer& timer)
{
    const double ms = timer.nsecsElapsed() / 1e6;
    timer.restart();
    return ms;
}

int Measure(int records, bool scroll)
{
    const QString path = Prepared(records);
    if (path.isEmpty()) {
        std::fprintf(stderr, "could not make the database\n");
        return 1;
    }
    QTemporaryDir folder;
    ScriptedUi ui;
    Session session(ui, ProgramFolders(folder.path(), folder.path()));
    SummaryModel model(session.RegionalSettings);
    const auto show = [&] {
        model.SetFieldColumns(session.Database.SummaryView.FieldColumns);
        model.SetSource(&session.Database.CurrentDatabase->Db(),
                        &session.Database.SummaryRecords.Ids());
    };
    QObject::connect(&session.Events, &SessionEvents::SummaryReloaded, &model, show);

    QElapsedTimer timer;
    timer.start();
    if (!OpenResumeDatabase(session, path)) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(ui.MessageTexts().join('|')));
        return 1;
    }
    show();
    FirstScreen(model);
    const double plainMs = Ms(timer);
    SetSummaryFieldColumns(session, {"score", "country", "purchased"}, {0, 0, 0});
    Ms(timer);
    FirstScreen(model);
    const double fieldsMs = Ms(timer);
    SortSummary(session, 5, false);
    FirstScreen(model);
    const double sortMs = Ms(timer);
    const QString lowest = model.data(model.index(0, 5)).toString();
    SortSummary(session, -1, false);
    Ms(timer);
    FilterSummary(session, 6, QStringLiteral("Fr*"));
    FirstScreen(model);
    const double filterMs = Ms(timer);
    const int franceRows = model.rowCount();
    FilterSummary(session, 6, QString());
    Ms(timer);
    FilterSummary(session, 5, QStringLiteral(">=90"));
    FirstScreen(model);
    const double compareMs = Ms(timer);
    const int highRows = model.rowCount();

    std::printf("%d records x 10 fields\n", records);
    std::printf("  first screen, no field columns:        %8.1f ms\n", plainMs);
    std::printf("  first screen, 3 field columns:         %8.1f ms\n", fieldsMs);
    std::printf("  sorted by score, first screen:         %8.1f ms (lowest %s)\n", sortMs,
                qPrintable(lowest));
    std::printf("  filter country Fr*, first screen:      %8.1f ms (%d rows)\n", filterMs,
                franceRows);
    std::printf("  filter score >=90, first screen:       %8.1f ms (%d rows)\n", compareMs,
                highRows);
    if (scroll) {
        FilterSummary(session, 5, QString());
        SortSummary(session, 6, true);
        double peak = ResidentMb();
        timer.restart();
        for (int row = 0; row < model.rowCount(); row += 40) {
            for (int c = 0; c < model.columnCount(); ++c)
                (void)model.data(model.index(row, c));
            if (row % 20000 == 0)
                peak = std::max(peak, ResidentMb());
        }
        std::printf("  scroll top to bottom (sorted):         %8.1f ms, resident at most %.1f MB\n",
                    Ms(timer), std::max(peak, ResidentMb()));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
    if (const int failed = Measure(records, true))
        return failed;
    return records > 100000 ? Measure(records / 10, false) : 0;
}
