#include "database/DatabaseCompaction.h"

#include "platform/DatabaseConnection.h"
#include "session/Session.h"

#include <QFileInfo>
#include <QLocale>
#include <stdexcept>

namespace {

qint64 SizeOnDisk(const QString& path)
{
    return QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
}

QString Size(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

} // namespace

CompactionSizes CompactDatabase(DatabaseConnection& connection)
{
    if (connection.IsReadOnly())
        throw std::runtime_error(
            QStringLiteral("%1 is open for reading only").arg(connection.Path()).toStdString());
    CompactionSizes sizes;
    sizes.before = SizeOnDisk(connection.Path());
    connection.Db().exec("VACUUM");
    connection.CheckpointLog();
    sizes.after = SizeOnDisk(connection.Path());
    return sizes;
}

QString CompactionText(const QString& path, const CompactionSizes& sizes)
{
    return QStringLiteral("Database compacted: %1 before, %2 after (%3)")
        .arg(Size(sizes.before), Size(sizes.after), path);
}

bool CompactOpenDatabase(Session& session)
{
    Ui& ui = session.ui;
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase) {
        ui.MessageBox(QStringLiteral("No database is open."), MessageIcon::Exclamation);
        return false;
    }
    if (d.CurrentDatabase->IsReadOnly()) {
        ui.MessageBox(QStringLiteral("The database is open for reading only: it cannot be "
                                     "compacted."),
                      MessageIcon::Exclamation);
        return false;
    }
    BusyPointer busy(ui);
    ui.SetStatusText(QStringLiteral("Compacting ") + d.CurrentDatabasePath);
    try {
        const CompactionSizes sizes = CompactDatabase(*d.CurrentDatabase);
        const QString text = CompactionText(d.CurrentDatabasePath, sizes);
        ui.SetStatusText(text);
        ui.MessageBox(text, MessageIcon::Information);
        return true;
    } catch (const std::exception& e) {
        ui.SetStatusText(QString());
        ui.MessageBox(QStringLiteral("Error compacting the database: ") +
                          EngineErrorText(d.CurrentDatabase.get(), e),
                      MessageIcon::Exclamation);
        return false;
    }
}
