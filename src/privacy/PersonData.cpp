#include "privacy/PersonData.h"

#include "output/OutputRunner.h"
#include "output/TemplateList.h"
#include "platform/DatabaseConnection.h"
#include "privacy/PersonJson.h"
#include "privacy/RecordErasure.h"
#include "privacy/RecordsGone.h"
#include "session/Session.h"

#include <QSaveFile>
#include <SQLiteCpp/Statement.h>

bool PersonData::Find(const PersonQuery& query)
{
    Ui& ui = m_session.ui;
    m_records.clear();
    m_query = query;
    DatabaseConnection* connection = m_session.Database.CurrentDatabase.get();
    if (!connection)
        return false;
    if (const QString problem = PersonQueryProblem(query); !problem.isEmpty()) {
        m_query = {};
        ui.MessageBox(problem, MessageIcon::Exclamation);
        return false;
    }
    BusyPointer busy(ui);
    try {
        m_records = FindPersonRecords(*connection, query);
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error reading data: ") + EngineErrorText(connection, e),
                      MessageIcon::Exclamation);
        return false;
    }
    const QString text = query.text.trimmed();
    ui.SetStatusText(
        m_records.empty()
            ? QStringLiteral("No record holds '%1'").arg(text)
            : QStringLiteral("%1 record(s) hold '%2'").arg(m_records.size()).arg(text));
    return true;
}

QStringList PersonData::Lines() const
{
    QStringList lines;
    DatabaseConnection* connection = m_session.Database.CurrentDatabase.get();
    if (!connection)
        return lines;
    try {
        SQLite::Statement& row = connection->Cached("SELECT substr(\"Form_Date\", 1, 10), "
                                                    "\"Form_Name\" FROM \"Forms\" WHERE "
                                                    "\"FormID\" = ?");
        for (const PersonRecord& record : m_records) {
            row.reset();
            row.bind(1, static_cast<int64_t>(record.formId));
            if (row.executeStep())
                lines.append(QStringLiteral("%1  %2  %3  (%4)")
                                 .arg(record.formId)
                                 .arg(QString::fromUtf8(row.getColumn(0).getText()),
                                      QString::fromUtf8(row.getColumn(1).getText()).simplified(),
                                      record.where.join(QStringLiteral(", "))));
        }
    } catch (const std::exception&) {
        // A record that cannot be read is left out of the list, not the erase.
    }
    return lines;
}

QString PersonData::ChooseFile(const QString& filter, const QString& extension)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Save a person's data");
    request.filters = ParseFileFilters(filter);
    request.defaultExtension = extension;
    request.proposedName = QStringLiteral("person.") + extension;
    request.overwritePrompt = true;
    const FileDialogResult result = m_session.ui.SaveFileDialog(request);
    if (result.cancelled || result.paths.isEmpty()) {
        m_session.ui.SetStatusText(QStringLiteral("Export cancelled"));
        return {};
    }
    return result.paths.first();
}

std::vector<qint64> PersonData::Ids() const
{
    std::vector<qint64> ids;
    for (const PersonRecord& record : m_records)
        ids.push_back(record.formId);
    return ids;
}

bool PersonData::LogExport(const QString& path, const QString& format)
{
    DatabaseConnection& connection = *m_session.Database.CurrentDatabase;
    try {
        LogPersonExport(connection, m_session.Now, Ids(), format);
    } catch (const std::exception& e) {
        m_session.ui.MessageBox(
            QStringLiteral("The records were saved to %1, but the change log could not be "
                           "written: ")
                    .arg(path) +
                EngineErrorText(&connection, e),
            MessageIcon::Exclamation);
        return false;
    }
    return true;
}

bool PersonData::ExportJson()
{
    Ui& ui = m_session.ui;
    if (m_records.empty() || !m_session.Database.CurrentDatabase)
        return false;
    const QString path =
        ChooseFile(QStringLiteral("JSON Files (*.json)|*.json|"), QStringLiteral("json"));
    if (path.isEmpty())
        return false;
    QByteArray json;
    try {
        json = PersonJson(*m_session.Database.CurrentDatabase, m_query, m_records);
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error reading data: ") +
                          EngineErrorText(m_session.Database.CurrentDatabase.get(), e),
                      MessageIcon::Exclamation);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit()) {
        ui.MessageBox(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()),
                      MessageIcon::Exclamation);
        return false;
    }
    if (!LogExport(path, QStringLiteral("JSON")))
        return false;
    ui.SetStatusText(QStringLiteral("%1 record(s) saved to %2").arg(m_records.size()).arg(path));
    return true;
}

bool PersonData::ExportPdf(const PagesMaker& pages)
{
    if (m_records.empty() || !m_session.Database.CurrentDatabase)
        return false;
    const QString path =
        ChooseFile(QStringLiteral("PDF Files (*.pdf)|*.pdf|"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return false;
    ListTemplates(m_session);
    const TemplateList& list = m_session.Output.Templates;
    const QList<int> printing = list.ForOutputType(static_cast<int>(OutputType::Printer));
    if (printing.isEmpty()) {
        m_session.ui.MessageBox(QStringLiteral("No printing template found"),
                                MessageIcon::Exclamation);
        return false;
    }
    OutputRequest request;
    request.type = OutputType::Printer;
    for (const PersonRecord& record : m_records)
        request.formIds.append(static_cast<qint32>(record.formId));
    request.templateFileName = list.FileName(printing.first());
    request.keepRecordsWhole = m_session.Output.KeepRecordsWhole;
    const std::unique_ptr<PageOutput> output = pages(m_session, path);
    request.printer = output.get();
    const OutputResult result = RunOutput(m_session, request);
    if (!result.completed || result.cancelled || !LogExport(path, QStringLiteral("PDF")))
        return false;
    m_session.ui.SetStatusText(
        QStringLiteral("%1 record(s) saved to %2").arg(result.count).arg(path));
    return true;
}

int PersonData::Erase()
{
    Ui& ui = m_session.ui;
    DatabaseConnection* connection = m_session.Database.CurrentDatabase.get();
    if (m_records.empty() || !connection)
        return 0;
    if (ui.MessageBox(QStringLiteral("Erase the %1 record(s) holding '%2'? This cannot be undone.")
                          .arg(m_records.size())
                          .arg(m_query.text.trimmed()),
                      MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
        ui.SetStatusText(QStringLiteral("Erase cancelled"));
        return 0;
    }
    const std::vector<qint64> ids = Ids();
    int erased = 0;
    try {
        BusyPointer busy(ui);
        erased = EraseRecords(*connection, m_session.Now, ids, ChangeKind::Erase,
                              ErasedPersonText(m_query.address));
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error erasing records: ") + EngineErrorText(connection, e),
                      MessageIcon::Exclamation);
        return -1;
    }
    m_records.clear();
    ShowRecordsGone(m_session, ids);
    ui.SetStatusText(QStringLiteral("%1 record(s) erased").arg(erased));
    return erased;
}
