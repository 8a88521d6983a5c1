#include "responses/ResponseScan.h"

#include "app/Session.h"
#include "responses/ResponseFile.h"
#include "responses/ResponseParser.h"

#include <QDir>
#include <QFileInfo>

ScanOutcome ScanResponseFile(Session& session, const QString& path,
                             const std::function<bool()>& onRecord, const QString& sourceBase)
{
    ScanOutcome outcome;
    const QFileInfo info(path);
    const QString fullPath = info.absoluteFilePath();
    const QString source =
        sourceBase.isEmpty() ? fullPath : QDir(sourceBase).relativeFilePath(fullPath);
    ResponseFile file;
    if (info.isDir() || !file.Open(fullPath)) {
        outcome.error = info.isDir() ? QStringLiteral("Is a directory") : file.ErrorString();
        return outcome;
    }
    outcome.opened = true;
    const QDate date = info.lastModified().date();
    int result = kRecordRead;
    bool told = false;
    const auto tellNoRecord = [&] {
        session.ui.MessageBox(QStringLiteral("No valid Record in file \r\n") + fullPath,
                              MessageIcon::Exclamation);
        told = true;
    };
    while (!file.AtEnd() && result > kNoRecord) {
        session.Tables.ClearRecordTables();
        result = ReadRecord(session.Tables, session.ui, session.RegionalSettings, QString(), date,
                            source, &file);
        if (result == kRecordRead) {
            session.Tables.RemoveBlankRecords();
            ++outcome.records;
            if (!onRecord()) {
                outcome.stopped = true;
                break;
            }
        } else if (result == kNoRecord && outcome.records == 0) {
            tellNoRecord();
        }
    }
    // An empty file holds no response either.
    if (outcome.records == 0 && !told && !outcome.stopped)
        tellNoRecord();
    file.Close();
    return outcome;
}
