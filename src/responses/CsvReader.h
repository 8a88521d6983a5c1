#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>

// A comma-separated file read row by row as it arrives: cells may be quoted,
// a quoted cell may hold the delimiter, doubled quotes and line breaks, and
// rows end with CR LF, LF or CR. A UTF-8 byte-order mark is skipped. The
// delimiter (comma, semicolon or tab) is the one the first row uses most,
// counted outside quotes; a comma where none appears.
class CsvReader {
public:
    struct Row {
        QList<QByteArray> cells;
        QByteArray raw;  // the row's bytes as written, without its line end
        qint64 line = 0; // the file's line the row starts on, from 1
    };

    bool Open(const QString& path);
    QString ErrorString() const { return m_file.errorString(); }
    char Delimiter() const { return m_delimiter; }

    // The next row; false at the end of the file. Empty lines are passed over.
    bool Next(Row& row);

private:
    bool Fill();
    // The byte at m_pos, reading on as needed; -1 at the end.
    int Peek();
    void DetectDelimiter();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qsizetype m_rowStart = 0; // kept in the buffer until the row is whole
    qint64 m_line = 1;
    bool m_eof = false;
    char m_delimiter = ',';
};
