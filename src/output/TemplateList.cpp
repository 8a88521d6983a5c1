#include "output/TemplateList.h"

#include "session/Session.h"
#include "output/TemplateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

struct HeaderRead {
    bool ok = true;
    QString error;
    ReportTemplate entry;
    int firstBodyByte = -1;
};

// Takes the value of a tag found in line; false when its "}" is missing.
bool TagValue(const QString& line, qsizetype at, qsizetype tagLength, QString* value)
{
    const qsizetype close = line.indexOf(QLatin1Char('}'), at + tagLength);
    if (close < 0)
        return false;
    *value = line.mid(at + tagLength, close - at - tagLength);
    return true;
}

HeaderRead ReadHeader(const QString& path)
{
    HeaderRead result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.ok = false;
        result.error = file.errorString();
        return result;
    }
    static const QString kTags[] = {QStringLiteral("#NAME{"), QStringLiteral("#OUTPUTTYPE{"),
                                    QStringLiteral("#DESCRIPTION{")};
    while (!file.atEnd()) {
        QByteArray bytes = file.readLine();
        if (bytes.endsWith('\n'))
            bytes.chop(1);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        if (IsBeginLine(bytes))
            break;
        const QString line = QString::fromUtf8(bytes);
        for (int t = 0; t < 3; ++t) {
            const qsizetype at = line.indexOf(kTags[t]);
            if (at < 0)
                continue;
            QString* target = t == 0   ? &result.entry.Name
                              : t == 1 ? &result.entry.OutputTypes
                                       : &result.entry.Description;
            if (!TagValue(line, at, kTags[t].size(), target)) {
                result.ok = false;
                result.error = QStringLiteral("The tag %1 has no closing }").arg(kTags[t]);
                return result;
            }
            break;
        }
    }
    if (result.entry.Name.isEmpty())
        return result;
    char c = 0;
    if (!file.getChar(&c)) {
        result.ok = false;
        result.error = QStringLiteral("Input past end of file");
        return result;
    }
    result.firstBodyByte = static_cast<unsigned char>(c);
    return result;
}

QStringList RptFiles(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.rpt")});
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

} // namespace

void ListTemplates(Session& session)
{
    TemplateList& list = session.Output.Templates;
    list.Clear();
    const ProgramFolders& folders = session.Folders;
    const bool separateWritable = folders.Writable() != folders.Program();

    // A file in the writable folder stands in for the program folder's file
    // of the same name, as FindFile does; each name is listed once.
    QStringList names = RptFiles(folders.Program());
    QSet<QString> seen;
    for (const QString& name : std::as_const(names))
        seen.insert(name.toLower());
    if (separateWritable) {
        for (const QString& name : RptFiles(folders.Writable())) {
            if (!seen.contains(name.toLower())) {
                names.append(name);
                seen.insert(name.toLower());
            }
        }
    }

    for (const QString& name : std::as_const(names)) {
        const QString path = folders.FindFile(name);
        const HeaderRead header = ReadHeader(path);
        if (!header.ok) {
            session.ui.MessageBox(QStringLiteral("Error reading print template file ") + name +
                                      QStringLiteral("\r\n") + header.error,
                                  MessageIcon::Exclamation);
            return;
        }
        if (header.entry.Name.isEmpty())
            continue;
        ReportTemplate entry = header.entry;
        entry.FileName = name;
        entry.Path = path;
        list.Append(entry);
        if (header.firstBodyByte < TemplateShiftTable()[0] + 10) {
            const MessageAnswer answer = session.ui.MessageBox(
                QStringLiteral("Template ") + name + QStringLiteral(" needs to be converted") +
                    QStringLiteral("\r\n") +
                    QStringLiteral(
                        "before it can be used. Press OK to convert, or Cancel to ignore."),
                MessageIcon::None, MessageButtons::OkCancel);
            if (answer == MessageAnswer::Ok) {
                // An installed program folder is read-only: the converted
                // copy then goes to the writable folder, where FindFile
                // looks first.
                QString target = path;
                if (separateWritable && QFileInfo(path).absolutePath() ==
                                            QFileInfo(folders.Program()).absoluteFilePath())
                    target = folders.WritableFile(name);
                if (ConvertTemplate(session.ui, path, target))
                    list.SetPath(list.Count() - 1, target);
            }
        }
    }
}
