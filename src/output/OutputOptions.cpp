#include "output/OutputOptions.h"

#include "database/PseudonymKey.h"
#include "platform/DatabaseConnection.h"

#include "session/Session.h"
#include "output/OutputChoices.h"
#include "platform/Settings.h"
#include "session/RecordSelection.h"

OutputOptionsController::OutputOptionsController(Session& session) : m_session(session)
{
    ReadOutputChoices(session.Folders, session.Output);
}

void OutputOptionsController::Activate()
{
    if (m_templatesFor != m_type)
        FillTemplates();
}

void OutputOptionsController::SetType(OutputType type)
{
    m_type = type;
    FillTemplates();
}

void OutputOptionsController::FillTemplates()
{
    m_templatesFor = m_type;
    m_templates.clear();
    const TemplateList& list = m_session.Output.Templates;
    for (const int k : list.ForOutputType(static_cast<int>(m_type)))
        m_templates.append({list.Name(k), k});
    ChooseTemplate(m_templates.isEmpty() ? -1 : 0);
}

void OutputOptionsController::ChooseTemplate(int row)
{
    m_chosen = row >= 0 && row < m_templates.size() ? row : -1;
}

QString OutputOptionsController::Description() const
{
    if (m_chosen < 0)
        return {};
    return m_session.Output.Templates.Description(m_templates[m_chosen].number);
}

QList<OutputOptionsController::FieldItem> OutputOptionsController::Fields() const
{
    QList<FieldItem> items;
    for (const OutputField& entry : m_session.Output.OutputFieldList)
        items.append({entry.Label.isEmpty() ? entry.Key : entry.Label, entry.PrintStat});
    return items;
}

void OutputOptionsController::SetFieldTicked(int item, bool ticked)
{
    QList<OutputField>& list = m_session.Output.OutputFieldList;
    if (item >= 0 && item < list.size())
        list[item].PrintStat = ticked;
}

bool OutputOptionsController::FieldPseudonymised(int item) const
{
    const QList<OutputField>& list = m_session.Output.OutputFieldList;
    return item >= 0 && item < list.size() && m_pseudonymised.contains(list[item].Key);
}

void OutputOptionsController::SetFieldPseudonymised(int item, bool on)
{
    const QList<OutputField>& list = m_session.Output.OutputFieldList;
    if (item < 0 || item >= list.size())
        return;
    m_pseudonymised.removeAll(list[item].Key);
    if (on)
        m_pseudonymised.append(list[item].Key);
}

void OutputOptionsController::SelectAllFields(bool ticked)
{
    for (OutputField& entry : m_session.Output.OutputFieldList)
        entry.PrintStat = ticked;
}

void OutputOptionsController::TickSummaryFields(const SummaryRows& rows)
{
    const QStringList& fieldColumns = m_session.Database.SummaryView.FieldColumns;
    const QString headerCell = QStringLiteral("%1.").arg(RecordTables::kHeaderTable);
    for (OutputField& entry : m_session.Output.OutputFieldList) {
        // A header entry's key is its record cell: "1.N" for column N.
        if (entry.Key.startsWith(headerCell)) {
            bool number = false;
            const int column = entry.Key.mid(headerCell.size()).toInt(&number);
            entry.PrintStat = number && rows.headerShown.value(column, false);
        } else {
            entry.PrintStat = fieldColumns.contains(entry.Key);
        }
    }
}

void OutputOptionsController::SetTitle(const QString& title)
{
    m_session.Output.ReportTitle = title;
}

bool OutputOptionsController::ProtectFormulas() const
{
    return m_session.Output.ProtectFormulas;
}

void OutputOptionsController::SetProtectFormulas(bool on)
{
    m_session.Output.ProtectFormulas = on;
    QString error;
    if (!WriteProtectFormulas(m_session.Folders, on, &error))
        m_session.ui.MessageBox(QStringLiteral("Error reading/writing Tallowmere.ini: ") + error,
                                MessageIcon::Exclamation);
}

bool OutputOptionsController::KeepRecordsWhole() const
{
    return m_session.Output.KeepRecordsWhole;
}

void OutputOptionsController::SetKeepRecordsWhole(bool on)
{
    m_session.Output.KeepRecordsWhole = on;
    QString error;
    if (!WriteKeepRecordsWhole(m_session.Folders, on, &error))
        m_session.ui.MessageBox(QStringLiteral("Error reading/writing Tallowmere.ini: ") + error,
                                MessageIcon::Exclamation);
}

bool OutputOptionsController::Rfc4180Quoting() const
{
    return m_session.Output.Rfc4180Quoting;
}

void OutputOptionsController::SetRfc4180Quoting(bool on)
{
    m_session.Output.Rfc4180Quoting = on;
}

bool OutputOptionsController::FieldNamesFirstLine() const
{
    return m_session.Output.FieldNamesFirstLine;
}

void OutputOptionsController::SetFieldNamesFirstLine(bool on)
{
    m_session.Output.FieldNamesFirstLine = on;
}

OutputResult OutputOptionsController::Run(const SummaryRows& rows, PageOutput* printer,
                                          const RecordLoader& load)
{
    RecordSelection& selection = m_session.Selection;
    OutputRequest request;
    request.type = m_type;
    switch (records) {
    case kSelected:
        selection = {RecordSelection::kSelectedRows, 0};
        break;
    case kAll:
        selection = {RecordSelection::kAllRecords, 0};
        break;
    case kCurrentOnly:
        selection = {RecordSelection::kCurrentRecord, 0};
        break;
    case kIdRange: {
        // The runner checks the typed bounds and says what is wrong with them.
        request.idRange = IdRangeText{txtFrom, txtTo};
        bool fromOk = false;
        bool toOk = false;
        const qint32 from = txtFrom.trimmed().toInt(&fromOk);
        const qint32 to = txtTo.trimmed().toInt(&toOk);
        if (fromOk && toOk && from > 0 && to >= from)
            selection = {from, to};
        break;
    }
    }
    const std::vector<qint64> ids =
        records == kIdRange ? rows.ids
                            : SelectedRecords(selection, rows.ids, rows.selected, rows.current);
    for (const qint64 id : ids)
        request.formIds.append(static_cast<qint32>(id));
    request.summaryHasRecords = !rows.ids.empty();
    if (m_chosen >= 0)
        m_lastTemplateFile = m_session.Output.Templates.FileName(m_templates[m_chosen].number);
    request.templateFileName = m_lastTemplateFile;
    request.delimiterText = delimiter;
    request.useQuotes = useQuotes;
    request.replaceQuotes = replaceQuotes;
    request.removeLineBreaks = removeLineBreaks;
    request.protectFormulas = m_session.Output.ProtectFormulas;
    request.rfc4180Quoting = m_session.Output.Rfc4180Quoting;
    request.fieldNamesFirstLine = m_session.Output.FieldNamesFirstLine;
    request.newPagePerRecord = newPagePerRecord;
    request.keepRecordsWhole = m_session.Output.KeepRecordsWhole;
    request.printer = printer;
    request.showViewer = showViewer;
    // The report counts the ticked fields; the record's own columns are
    // its header, not answers.
    const QList<OutputField>& fields = m_session.Output.OutputFieldList;
    for (qsizetype i = m_session.Output.HeaderFieldCount; i < fields.size(); ++i)
        if (fields[i].PrintStat)
            request.reportFields.append(fields[i].Key);
    request.reportTitle = m_session.Output.ReportTitle;
    request.chartSvg = chartSvg;
    QStringList pseudonymised;
    for (const OutputField& entry : fields)
        if (m_pseudonymised.contains(entry.Key))
            pseudonymised.append(entry.Key);
    if (!pseudonymised.isEmpty() && m_session.Database.CurrentDatabase) {
        DatabaseConnection& connection = *m_session.Database.CurrentDatabase;
        QByteArray key;
        try {
            key = PseudonymKeyOf(connection);
        } catch (const std::exception& e) {
            m_session.ui.MessageBox(QStringLiteral("Error making the pseudonym key: ") +
                                        EngineErrorText(&connection, e),
                                    MessageIcon::Exclamation);
            return {};
        }
        QString unknown;
        request.pseudonyms = FieldAnonymiser(fields, m_session.Output.HeaderFieldCount,
                                             pseudonymised, key, &unknown);
    }
    return load ? RunOutput(m_session, request, load) : RunOutput(m_session, request);
}
