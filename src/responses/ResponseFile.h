#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A response file opened for reading line by line. Lines may end with
// CR LF, LF or CR; the ending is not part of the line. The file is read in
// chunks and each byte is looked at once, so time grows with the file and
// memory with its longest line, never with the whole file. Any other device
// open for reading (a mail message's text) can stand in for the file.
class ResponseFile {
public:
    // What a line turned out to be. Lines that are not text are not kept
    // while they are read, so a file of binary junk or one endless line
    // reads in flat memory; such a line comes back empty.
    enum class LineKind {
        Text,
        Binary,  // holds a NUL byte: no text file, no response, has one
        TooLong, // longer than the line limit
    };
    // Longest line kept, in bytes; also the largest field (name=value, still
    // encoded) a response may hold. It bounds the memory a response takes
    // (about four times its largest field to import it, three to show it).
    static constexpr qsizetype kDefaultLineLimit = qsizetype(128) * 1024 * 1024;

    ResponseFile() = default;
    explicit ResponseFile(const QString& path) { Open(path); }

    bool Open(const QString& path);
    // Reads from device, which stays the caller's.
    void Open(QIODevice* device);
    bool IsOpen() const { return m_device->isOpen(); }
    QString ErrorString() const { return m_device->errorString(); }
    void Close() { m_device->close(); }
    void SetLineLimit(qsizetype bytes) { m_lineLimit = bytes; }
    qsizetype LineLimit() const { return m_lineLimit; }

    bool AtEnd();
    // The next line without its ending; false at the end of the file.
    bool ReadLine(QByteArray& line, LineKind* kind = nullptr);

private:
    bool Fill();
    // Drops the bytes of the current line scanned so far.
    void Discard(qsizetype scanned);

    QFile m_file;
    QIODevice* m_device = &m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
    qsizetype m_lineLimit = kDefaultLineLimit;
};
