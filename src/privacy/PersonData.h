#pragma once

#include "privacy/PersonSearch.h"

#include <functional>
#include <memory>
#include <vector>

class PageOutput;
class Session;

// Record > "Find a person's data...": the records of the open database
// holding a person's e-mail address (or a text), a copy of them as JSON or
// PDF, and their erasure. Messages go through the session's Ui.
class PersonData {
public:
    // Makes the PDF pages for a file; the desktop program's page renderer.
    using PagesMaker = std::function<std::unique_ptr<PageOutput>(Session&, const QString& path)>;

    explicit PersonData(Session& session) : m_session(session) {}

    // Finds the records; false after a message (a query that is no e-mail
    // address, an engine error). Finding nothing is no failure: the status
    // says "No record holds '...'".
    bool Find(const PersonQuery& query);
    const PersonQuery& Query() const { return m_query; }
    const std::vector<PersonRecord>& Records() const { return m_records; }
    // "FormID  date  name  (where)" a line a record, for the list.
    QStringList Lines() const;

    // Asks for a file (its own dialog) and writes the records found to it;
    // false when cancelled or after a message.
    bool ExportJson();
    bool ExportPdf(const PagesMaker& pages);
    // Asks ("Erase the 3 record(s) holding ...? This cannot be undone.")
    // and deletes the records found; returns how many went, -1 on an error.
    int Erase();

private:
    QString ChooseFile(const QString& filter, const QString& extension);
    std::vector<qint64> Ids() const;
    // Logs the export; false after a message when the log cannot be written.
    bool LogExport(const QString& path, const QString& format);

    Session& m_session;
    PersonQuery m_query;
    std::vector<PersonRecord> m_records;
};
