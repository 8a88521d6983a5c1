#include "responses/PrefixedDevice.h"

#include <cstring>

void PrefixedDevice::Reset(QByteArray head, QIODevice* rest)
{
    close();
    m_head = std::move(head);
    m_pos = 0;
    m_rest = rest;
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 PrefixedDevice::readData(char* data, qint64 maxSize)
{
    if (m_pos < m_head.size()) {
        const qint64 n = std::min<qint64>(maxSize, m_head.size() - m_pos);
        std::memcpy(data, m_head.constData() + m_pos, static_cast<size_t>(n));
        m_pos += n;
        return n;
    }
    return m_rest ? m_rest->read(data, maxSize) : -1;
}
