#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// A database's field-names list (CR LF, then each field name ever stored
// and CR LF) as it grows with the records written. A name is added unless
// the list holds it in any spelling; the names are kept in sets beside the
// text, so adding one costs what the name costs, not what the list costs.
// The list only grows while records are written; the text is owned here
// alone, so appending never copies it.
class FieldNameCatalog {
public:
    // Where the list stood, to go back to when a write is undone.
    struct Mark {
        qsizetype size = 0;
        bool unstored = false;
    };

    // Takes the list as the file holds it.
    void Reset(const QString& stored);
    void Clear() { Reset(QString()); }

    // Adds the name unless the list holds it; true when it was added.
    bool Add(const QString& name);

    const QString& List() const { return m_list; }
    // Every name of the list, in its order.
    QStringList Names() const { return m_list.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts); }
    // The list has grown since it was read or last written to the file.
    bool Unstored() const { return m_unstored; }
    void MarkStored() { m_unstored = false; }

    Mark Here() const { return {m_list.size(), m_unstored}; }
    // Forgets the names added since the mark.
    void BackTo(Mark mark);

private:
    void IndexList();

    QString m_list;
    bool m_unstored = false;
    bool m_blank = true; // the list holds nothing but blanks (not even its first CR LF)
    bool m_indexed = false;
    QSet<QString> m_spelt;  // between two CR LFs, as spelt there
    QSet<QString> m_folded; // the same, case-folded
};
