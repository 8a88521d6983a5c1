#pragma once

#include <QByteArray>
#include <QIODevice>

// Reads bytes already taken from a device and then the rest of it, so the
// head of a message's text can be looked at and still be read as a whole.
class PrefixedDevice : public QIODevice {
public:
    // rest stays the caller's.
    void Reset(QByteArray head, QIODevice* rest);
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_head;
    qsizetype m_pos = 0;
    QIODevice* m_rest = nullptr;
};
