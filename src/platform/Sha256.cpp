#include "platform/Sha256.h"

#include <cstring>
#include <openssl/evp.h>
#include <stdexcept>

struct Sha256::Context {
    EVP_MD_CTX* md = nullptr;
};

Sha256::Sha256() : m_context(std::make_unique<Context>())
{
    m_context->md = EVP_MD_CTX_new();
    if (!m_context->md)
        throw std::bad_alloc();
    Reset();
}

Sha256::~Sha256()
{
    EVP_MD_CTX_free(m_context->md);
}

void Sha256::Reset()
{
    m_used = 0;
    if (EVP_DigestInit_ex(m_context->md, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 is not available");
}

void Sha256::Flush()
{
    if (m_used > 0)
        EVP_DigestUpdate(m_context->md, m_pending, static_cast<size_t>(m_used));
    m_used = 0;
}

void Sha256::Add(QByteArrayView bytes)
{
    const qsizetype room = qsizetype(sizeof m_pending);
    if (m_used + bytes.size() > room)
        Flush();
    if (bytes.size() >= room) {
        EVP_DigestUpdate(m_context->md, bytes.data(), static_cast<size_t>(bytes.size()));
        return;
    }
    std::memcpy(m_pending + m_used, bytes.data(), static_cast<size_t>(bytes.size()));
    m_used += bytes.size();
}

QByteArray Sha256::Result()
{
    Flush();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_DigestFinal_ex(m_context->md, digest, &size);
    Reset();
    return QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(size));
}
