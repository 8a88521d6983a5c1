#pragma once

#include <QDateTime>

// "Now" for the program; tests replace it with a fixed clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime Now() const override { return m_now; }
    void Set(const QDateTime& now) { m_now = now; }

private:
    QDateTime m_now;
};
