#include "session/FieldNameCatalog.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Folded code point by code point, as the list has always been compared.
QString Folded(const QString& name)
{
    QList<uint> points = name.toUcs4();
    for (uint& point : points)
        point = QChar::toCaseFolded(point);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()), points.size());
}

} // namespace

void FieldNameCatalog::Reset(const QString& stored)
{
    m_list = stored;
    m_blank = stored.trimmed().isEmpty() && stored != kCrLf;
    m_unstored = false;
    m_indexed = false;
    m_spelt.clear();
    m_folded.clear();
}

void FieldNameCatalog::IndexList()
{
    // Only the pieces with a CR LF on both sides are names.
    const QStringList pieces = m_list.split(kCrLf);
    m_spelt.clear();
    m_folded.clear();
    for (qsizetype i = 1; i + 1 < pieces.size(); ++i) {
        m_spelt.insert(pieces[i]);
        m_folded.insert(Folded(pieces[i]));
    }
    m_indexed = true;
}

bool FieldNameCatalog::Add(const QString& name)
{
    if (m_blank) {
        m_blank = false;
        m_list = kCrLf;
        m_unstored = true;
        m_indexed = false;
    }
    if (!m_indexed)
        IndexList();
    // Most records repeat names as the list spells them.
    if (m_spelt.contains(name))
        return false;
    const QString folded = Folded(name);
    bool known = m_folded.contains(folded);
    // A name holding a line end would match across entries: look in the text.
    if (!known && name.contains(kCrLf))
        known = m_list.contains(kCrLf + name + kCrLf, Qt::CaseInsensitive);
    if (known)
        return false;
    m_list += name;
    m_list += kCrLf;
    m_spelt.insert(name);
    m_folded.insert(folded);
    m_unstored = true;
    return true;
}

void FieldNameCatalog::BackTo(Mark mark)
{
    if (m_list.size() != mark.size) {
        m_list.truncate(mark.size);
        m_blank = m_list.trimmed().isEmpty() && m_list != kCrLf;
        m_indexed = false;
    }
    m_unstored = mark.unstored;
}
