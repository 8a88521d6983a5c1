#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringEncoder>
#include <memory>
#include <vector>

class QFileDevice;

// The file an output run writes, and the count of the records in it.
//
// A new file, or one replaced, is written under a temporary name beside it
// (QSaveFile) and takes its name only at Commit: a run that is killed
// leaves nothing under that name, and an older file of that name as it was.
// A file appended to is written in place.
//
// What is written is held until a record ends and then written out in large
// blocks straight to the file's descriptor, where a short write tells how
// much reached the file and errno why the rest did not (Qt's buffered writes
// lose both). After a failure the file is cut back to the end of its last
// whole record, so WholeRecords() is what the file really holds of the run.
//
// The renderers that write to a QIODevice write to this one.
class OutputFile : public QIODevice {
public:
    OutputFile();
    ~OutputFile() override;

    // append: written at the end of the existing file; otherwise the file
    // is made, or replaced, at Commit.
    bool Open(const QString& path, bool append);
    bool IsOpen() const { return m_file != nullptr; }
    // The size of the file when it was opened (0 for a new one).
    qint64 SizeAtOpen() const { return m_sizeAtOpen; }

    void Write(QByteArrayView bytes) { m_pending.append(bytes); }
    void Write(const QString& text, const QString& more = QString());
    // The bytes written since the last record's end are one record; false
    // when a write to the file failed.
    bool EndRecord();
    // Writes the rest and closes the file; a new file takes its name.
    bool Commit();
    // After a failure: the file cut back to its whole records, and closed.
    // keepRecords: a new file holding any takes its name with them;
    // otherwise a new file is dropped and an older one left as it was. A
    // record ended but not yet written is written first unless a write
    // failed. Returns what could not be done, in the system's words (empty
    // when all went well).
    QString Abandon(bool keepRecords);

    // The records of this run in the file (none when it was dropped).
    int WholeRecords() const { return m_records; }
    // Why the last step failed: the system's own text.
    QString Error() const { return m_error; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool WriteOut();
    void Close(bool commit);

    std::unique_ptr<QFileDevice> m_file; // QSaveFile, or QFile when appending
    bool m_appending = false;
    bool m_failed = false;
    qint64 m_sizeAtOpen = 0;
    QByteArray m_pending;
    std::vector<qsizetype> m_recordEnds; // in m_pending
    qint64 m_written = 0;                // bytes of the run in the file
    qint64 m_whole = 0;                  // of them, those of whole records
    int m_records = 0;
    QString m_error;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
};
