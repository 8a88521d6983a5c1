#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A response file opened for reading line by line. Lines may end with
// CR LF, LF or CR; the ending is not part of the line. The file is read in
// chunks, so memory stays flat however large it is.
class ResponseFile {
public:
    ResponseFile() = default;
    explicit ResponseFile(const QString& path) { Open(path); }

    bool Open(const QString& path);
    bool IsOpen() const { return m_file.isOpen(); }
    QString ErrorString() const { return m_file.errorString(); }
    void Close() { m_file.close(); }

    bool AtEnd();
    // The next line without its ending; false at the end of the file.
    bool ReadLine(QByteArray& line);

private:
    bool Fill();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
};
