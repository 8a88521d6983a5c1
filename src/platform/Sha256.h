#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

// SHA-256 through OpenSSL's libcrypto, several times faster than Qt's own
// on every processor with SHA or AVX instructions; small pieces are
// gathered first, since each call into the engine has its cost.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Add(QByteArrayView bytes);
    // The 32-byte digest; the object starts over afterwards.
    QByteArray Result();
    void Reset();

private:
    void Flush();

    struct Context;
    std::unique_ptr<Context> m_context;
    char m_pending[4096];
    qsizetype m_used = 0;
};
