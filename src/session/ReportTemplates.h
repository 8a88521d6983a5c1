#pragma once

#include <QList>
#include <QString>

// One report template found at start-up.
struct ReportTemplate {
    QString FileName;    // without folder, as the folder listing spells it
    QString Name;        // never empty
    QString OutputTypes; // may name several targets
    QString Description; // may be empty
    QString Path;        // where it was found
};

// The templates in listing order; an entry's position is its template number.
class TemplateList {
public:
    int Count() const { return static_cast<int>(m_entries.size()); }
    const ReportTemplate& At(int k) const { return m_entries[k]; }
    QString FileName(int k) const { return m_entries[k].FileName; }
    QString Name(int k) const { return m_entries[k].Name; }
    QString OutputTypes(int k) const { return m_entries[k].OutputTypes; }
    QString Description(int k) const { return m_entries[k].Description; }
    void Clear() { m_entries.clear(); }
    void Append(const ReportTemplate& entry) { m_entries.append(entry); }
    void SetPath(int k, const QString& path) { m_entries[k].Path = path; }
    // Numbers of the templates whose output types contain the keyword of the
    // output type (OutputType: 0 screen .. 4 clipboard); none for other types.
    QList<int> ForOutputType(int outputType) const;

private:
    QList<ReportTemplate> m_entries;
};

// "Screen", "Print", "HTML", "TextFile" or "TextClipboard" for output types
// 0 to 4; empty otherwise.
QString OutputTypeKeyword(int outputType);
