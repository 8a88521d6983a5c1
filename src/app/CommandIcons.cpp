#include "app/CommandIcons.h"

#include <QStandardPaths>

void UseFallbackIconTheme()
{
    QIcon::setFallbackThemeName(QString::fromLatin1(kFallbackIconTheme));
    // Without a desktop (a bare X server, the offscreen platform) there is
    // no theme at all, and a missing theme is never searched for icons;
    // some platforms do not even search the system's icon folders.
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& folder :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                   QStandardPaths::LocateDirectory))
        if (!paths.contains(folder))
            paths.append(folder);
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QString::fromLatin1(kFallbackIconTheme));
}

QString CommandIconName(CommandId id)
{
    struct Entry {
        CommandId id;
        const char* name;
    };
    static const Entry kIcons[] = {
        {CommandId::NewDatabase, "document-new"},
        {CommandId::OpenDatabase, "document-open"},
        {CommandId::CloseDatabase, "document-close"},
        {CommandId::ImportFiles, "document-import"},
        // A clipboard marked apart from Paste's plain one.
        {CommandId::ImportClipboard, "special_paste"},
        {CommandId::TransferRecords, "document-send"},
        {CommandId::ExportDelimited, "text-csv"},
        {CommandId::ExportText, "document-export"},
        {CommandId::ExportHtml, "text-html"},
        {CommandId::Print, "document-print"},
        {CommandId::PrinterSetup, "document-print-preview"},
        {CommandId::LoadConfig, "document-properties"},
        {CommandId::SaveConfig, "document-save-as"},
        {CommandId::Exit, "application-exit"},
        {CommandId::Undo, "edit-undo"},
        {CommandId::Cut, "edit-cut"},
        {CommandId::Copy, "edit-copy"},
        {CommandId::Paste, "edit-paste"},
        {CommandId::EditDelete, "edit-delete"},
        {CommandId::CopyRecordsToClipboard, "edit-copy"},
        {CommandId::MoveFirst, "go-first"},
        {CommandId::MovePrevious, "go-previous"},
        {CommandId::MoveNext, "go-next"},
        {CommandId::MoveLast, "go-last"},
        {CommandId::NewRecord, "document-new"},
        {CommandId::EditRecord, "document-edit"},
        {CommandId::DeleteRecord, "edit-delete"},
        {CommandId::SaveRecord, "document-save"},
        {CommandId::CancelChanges, "document-revert"},
        {CommandId::ViewRecord, "document-preview"},
        {CommandId::ViewSummary, "view-list-details"},
        {CommandId::QueryBuilder, "edit-find"},
        {CommandId::Preferences, "configure"},
        {CommandId::HelpContents, "help-contents"},
        {CommandId::About, "help-about"},
    };
    for (const Entry& entry : kIcons)
        if (entry.id == id)
            return QString::fromLatin1(entry.name);
    return {};
}

QIcon CommandIcon(CommandId id)
{
    const QString name = CommandIconName(id);
    return name.isEmpty() ? QIcon() : QIcon::fromTheme(name);
}
