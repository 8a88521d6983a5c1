#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A response file opened for reading line by line. Lines may end with
// CR LF, LF or CR; the ending is not part of the line. The file is read in
// chunks, so memory stays flat however large it is. Any other device open
// for reading (a mail message's text) can stand in for the file.
class ResponseFile {
public:
    ResponseFile() = default;
    explicit ResponseFile(const QString& path) { Open(path); }

    bool Open(const QString& path);
    // Reads from device, which stays the caller's.
    void Open(QIODevice* device);
    bool IsOpen() const { return m_device->isOpen(); }
    QString ErrorString() const { return m_device->errorString(); }
    void Close() { m_device->close(); }

    bool AtEnd();
    // The next line without its ending; false at the end of the file.
    bool ReadLine(QByteArray& line);

private:
    bool Fill();

    QFile m_file;
    QIODevice* m_device = &m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
};
