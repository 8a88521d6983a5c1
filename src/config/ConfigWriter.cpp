#include "config/ConfigWriter.h"

#include "session/Session.h"
#include "config/ConfigReader.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Replaces the file's contents; the reason for a failure goes to error.
bool WriteWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

void SaveConfigFile(Session& session)
{
    Ui& ui = session.ui;
    const QString cancelled = QStringLiteral("Save configuration cancelled");

    const FileDialogResult chosen =
        ui.SaveFileDialog(ConfigFileDialog(QStringLiteral("Save Configuration File As...")));
    if (chosen.cancelled || chosen.paths.isEmpty()) {
        ui.SetStatusText(cancelled);
        return;
    }
    const QString path = chosen.paths.first();

    if (QFileInfo::exists(path) &&
        ui.MessageBox(QStringLiteral("File ") + path +
                          QStringLiteral(" already exists. Do you wish to overwrite it?"),
                      MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
        ui.SetStatusText(cancelled);
        return;
    }

    ui.SetStatusText(QStringLiteral("Saving Configuration to file ") + path);
    BusyPointer busy(ui);
    const FormConfig& config = session.Config;
    QString written;
    for (int entry = 0; entry <= config.LastEntryIndex && entry < config.ConfigEntries.size();
         ++entry)
        written += config.ConfigEntries[entry];

    QString error;
    if (!WriteWhole(path, written.toUtf8(), &error)) {
        ui.SetStatusText(error);
        return;
    }
    // Read what was written and store it again with line feeds alone.
    QFile check(path);
    if (!check.open(QIODevice::ReadOnly)) {
        ui.SetStatusText(check.errorString());
        return;
    }
    QByteArray bytes = check.readAll();
    check.close();
    bytes.replace('\r', QByteArray());
    if (!WriteWhole(path, bytes, &error)) {
        ui.SetStatusText(error);
        return;
    }
    ui.SetStatusText(QStringLiteral("Configuration saved to file ") + path);
}
