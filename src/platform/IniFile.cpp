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
    bool inSection = false;
    for (const QString& line : ReadLines(path)) {
        const QString name = SectionOf(line);
        if (!name.isNull()) {
            inSection = name.compare(section.trimmed(), Qt::CaseInsensitive) == 0;
            continue;
        }
        QString value;
        if (inSection && IsKeyLine(line, key, &value))
            return value.left(kMaxValueLength);
    }
    return {};
}

bool Write(const QString& path, const QString& section, const QString& key, const QString& value,
           QString* error)
{
    QStringList lines = ReadLines(path);
    const QString keyLine = key.trimmed() + QLatin1Char('=') + value;

    qsizetype sectionStart = -1;
    qsizetype insertAt = -1; // after the last non-blank line of the section
    bool written = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = SectionOf(lines[i]);
        if (!name.isNull()) {
            if (sectionStart >= 0)
                break;
            if (name.compare(section.trimmed(), Qt::CaseInsensitive) == 0) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (IsKeyLine(lines[i], key)) {
            lines[i] = keyLine;
            written = true;
            break;
        }
        if (!lines[i].trimmed().isEmpty())
            insertAt = i + 1;
    }
    if (!written) {
        if (sectionStart >= 0) {
            lines.insert(insertAt, keyLine);
        } else {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines.append(QString());
            lines.append(QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
            lines.append(keyLine);
        }
    }

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
