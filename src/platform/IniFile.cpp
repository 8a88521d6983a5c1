#include "platform/IniFile.h"

#include "platform/TextCodec.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = TextFromBytes(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The section name of a "[name]" line, or a null string for other lines.
QString SectionOf(const QString& line)
{
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return QString();
}

bool IsKeyLine(const QString& line, const QString& key, QString* value = nullptr)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    if (line.left(eq).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) != 0)
        return false;
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

} // namespace

namespace IniFile {

QString Read(const QString& path, const QString& section, const QString& key)
{
    return Document(path).Read(section, key);
}

bool Write(const QString& path, const QString& section, const QString& key, const QString& value,
           QString* error)
{
    Document document(path);
    document.Write(section, key, value);
    return document.Save(path, error);
}

Document::Document(const QString& path)
{
    m_sections.append(Section());
    for (const QString& line : ReadLines(path)) {
        const QString name = SectionOf(line);
        if (!name.isNull()) {
            m_byName[name.toLower()].append(m_sections.size());
            m_sections.append(Section());
        }
        AddLine(m_sections.last(), line);
    }
}

void Document::AddLine(Section& section, const QString& line)
{
    const qsizetype at = section.lines.size();
    section.lines.append(line);
    // The first line of a named section is its "[name]" line.
    const bool header = at == 0 && &section != &m_sections.first();
    if (!header) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0)
            section.keys.insert(line.left(eq).trimmed().toLower(), at);
    }
    if (!line.trimmed().isEmpty())
        section.lastNonBlank = at;
}

QString Document::Read(const QString& section, const QString& key) const
{
    const auto named = m_byName.constFind(section.trimmed().toLower());
    if (named == m_byName.cend())
        return {};
    const QString lowerKey = key.trimmed().toLower();
    for (const qsizetype index : *named) {
        const Section& s = m_sections[index];
        const auto found = s.keys.constFind(lowerKey);
        if (found == s.keys.cend())
            continue;
        QString value;
        IsKeyLine(s.lines[*found], key, &value);
        return value.left(kMaxValueLength);
    }
    return {};
}

void Document::Write(const QString& section, const QString& key, const QString& value)
{
    const QString keyLine = key.trimmed() + QLatin1Char('=') + value;
    const QString lowerKey = key.trimmed().toLower();
    const auto named = m_byName.constFind(section.trimmed().toLower());
    if (named != m_byName.cend()) {
        Section& s = m_sections[named->first()];
        const auto found = s.keys.constFind(lowerKey);
        if (found != s.keys.cend()) {
            s.lines[*found] = keyLine;
            return;
        }
        // Only blank lines follow the last non-blank one, so no key moves.
        const qsizetype at = s.lastNonBlank + 1;
        s.lines.insert(at, keyLine);
        s.keys.insert(lowerKey, at);
        s.lastNonBlank = at;
        return;
    }
    Section& last = m_sections.last();
    if (!last.lines.isEmpty() && !last.lines.last().trimmed().isEmpty())
        last.lines.append(QString());
    m_byName[section.trimmed().toLower()].append(m_sections.size());
    m_sections.append(Section());
    AddLine(m_sections.last(), QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
    AddLine(m_sections.last(), keyLine);
}

bool Document::Save(const QString& path, QString* error) const
{
    QStringList lines;
    for (const Section& s : m_sections)
        lines += s.lines;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8());
    file.write("\r\n");
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace IniFile
