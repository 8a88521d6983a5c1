#pragma once

#include <QDateTime>
#include <QtGlobal>
#include <chrono>
#include <limits>
#include <thread>

// "Now" and the passing of time for the program; tests replace it with a
// clock they move by hand, so nothing paced by time depends on how fast
// the machine is.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
    // Milliseconds on a clock that never goes back: for intervals only.
    virtual qint64 ElapsedMs() const = 0;
    // Waits ms milliseconds (for another program to let go of something).
    virtual void Sleep(qint64 ms) const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
    qint64 ElapsedMs() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void Sleep(qint64 ms) const override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

// Stands still until moved. A sleeper moves it by what it slept: the
// program holds its clock read-only, yet time passes while it waits.
class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime Now() const override { return m_now; }
    qint64 ElapsedMs() const override { return m_elapsed; }
    void Sleep(qint64 ms) const override
    {
        // Really waits as well, so another process can take its turn.
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        m_now = m_now.addMSecs(ms);
        m_elapsed += ms;
    }
    void Set(const QDateTime& now) { m_now = now; }
    void Advance(qint64 ms)
    {
        m_now = m_now.addMSecs(ms);
        m_elapsed += ms;
    }

private:
    mutable QDateTime m_now;
    mutable qint64 m_elapsed = 0;
};

// An interval measured on a clock; one not started has lasted forever.
class Stopwatch {
public:
    explicit Stopwatch(const Clock& clock) : m_clock(&clock) {}
    void Start() { m_start = m_clock->ElapsedMs(); }
    void Invalidate() { m_start = kNotStarted; }
    bool IsValid() const { return m_start != kNotStarted; }
    qint64 Elapsed() const
    {
        return IsValid() ? m_clock->ElapsedMs() - m_start : std::numeric_limits<qint64>::max();
    }

private:
    static constexpr qint64 kNotStarted = std::numeric_limits<qint64>::min();
    const Clock* m_clock;
    qint64 m_start = kNotStarted;
};
