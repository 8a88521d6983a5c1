#include "config/ConfigReader.h"
#include "platform/Logging.h"

#include "session/Session.h"
#include "config/ConfigPlacement.h"
#include "platform/ErrorText.h"
#include "platform/TextCodec.h"
#include "session/RecordTables.h"
#include "platform/ResponseText.h"

#include <QDir>
#include <QFile>
#include <exception>
#include <limits>

namespace {

const QString kReadError = QStringLiteral("Error reading configuration file: ");

bool IsBlankLine(const QString& line)
{
    for (const QChar c : line) {
        if (!IsBlank(c) && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            return false;
    }
    return true;
}

} // namespace

FileDialogRequest ConfigFileDialog(const QString& title)
{
    FileDialogRequest request;
    request.title = title;
    request.filters = ParseFileFilters(QStringLiteral("All Files (*.*)|*.*|") +
                                       QStringLiteral("Form Configuration Files (*.cfg)|*.cfg|"));
    request.selectedFilter = 1;
    request.proposedName = QStringLiteral("*.cfg");
    return request;
}

QStringList SplitConfigLines(const QString& text)
{
    QStringList lines;
    QString line;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            if (!line.endsWith(QLatin1Char('\r')))
                line += QLatin1Char('\r');
            line += c;
            lines.append(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.isEmpty()) {
        line.insert(line.size() - 1, QLatin1Char('\r'));
        lines.append(line);
    }
    return lines;
}

bool ReadConfigText(const QString& text, const RecordTables& tables, FormConfig& config,
                    QString* error)
{
    config.ConfigEntries = QStringList{QString()};
    for (const QString& line : SplitConfigLines(text)) {
        QString& current = config.ConfigEntries.last();
        if (current.isEmpty() && (IsBlankLine(line) || line.startsWith(QLatin1Char('#'))))
            continue;
        const int entry = static_cast<int>(config.ConfigEntries.size()) - 1;
        if (entry > std::numeric_limits<qint16>::max()) {
            if (error)
                *error = QStringLiteral("more than %1 entries").arg(entry);
            return false;
        }
        current += line;
        if (!IsConfigEndLine(line))
            continue;

        if (!ParseConfig(config, entry, error))
            return false;
        config.LastEntryIndex = static_cast<qint16>(entry);
        if (!ApplyPlacement(config, entry, tables, error))
            return false;
        ApplyRecordFieldRule(config, entry);
        config.ConfigEntries.append(QString());
    }
    if (config.ConfigEntries.last().isEmpty())
        config.ConfigEntries.removeLast();
    return true;
}

bool LoadConfigFile(Session& session, const QString& name, bool* loaded, QString* reason)
{
    if (loaded)
        *loaded = false;
    Ui& ui = session.ui;
    const auto failed = [&](const QString& why) {
        qCInfo(lcConfig, "configuration not read: %s", qPrintable(why));
        ui.SetStatusText(kReadError + why);
        if (reason)
            *reason = why;
        return false;
    };
    QString path;
    if (!name.isEmpty()) {
        path = QDir(session.Folders.Program()).filePath(name);
    } else {
        const FileDialogResult chosen =
            ui.OpenFileDialog(ConfigFileDialog(QStringLiteral("Load Configuration File...")));
        if (chosen.cancelled || chosen.paths.isEmpty()) {
            ui.SetStatusText(QStringLiteral("Load configuration file cancelled"));
            return true;
        }
        path = chosen.paths.first();
    }

    ui.SetStatusText(QStringLiteral("Reading configuration from ") + path + QStringLiteral("..."));
    ui.Yield();
    BusyPointer busy(ui);
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return failed(file.errorString());
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            return failed(file.errorString());
        }
        file.close();

        // Read into a fresh configuration so that a broken file leaves the
        // one in use untouched.
        FormConfig fresh;
        QString error;
        if (!ReadConfigText(TextFromBytes(bytes), session.Tables, fresh, &error)) {
            return failed(error);
        }
        session.Config = std::move(fresh);
    } catch (const std::exception& e) {
        return failed(ErrorText(e));
    }
    ui.SetStatusText(QStringLiteral("Configuration read from ") + path);
    qCInfo(lcConfig, "configuration read from %s", qPrintable(path));
    if (loaded)
        *loaded = true;
    return true;
}

bool LoadDefaultConfig(Session& session)
{
    QString reason;
    if (LoadConfigFile(session, QStringLiteral("default.cfg"), nullptr, &reason))
        return true;
    session.ui.MessageBox(QStringLiteral("frmBrowser Load: Error reading Default.cfg: ") + reason,
                          MessageIcon::Exclamation);
    return false;
}
