#include "gui/app/CommandIcons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPalette>
#include <QPainter>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOption>
#include <cmath>

namespace {

// A theme icon with a Disabled look of its own: some icon engines and
// styles hand back the Normal picture for Disabled, and a disabled
// toolbar button then looks as if it could be pressed.
class DisabledLookEngine : public QIconEngine {
public:
    explicit DisabledLookEngine(QIcon icon) : m_icon(std::move(icon)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        // size is in device pixels.
        const QSize logical(std::max(1, int(std::lround(size.width() / scale))),
                            std::max(1, int(std::lround(size.height() / scale))));
        if (mode != QIcon::Disabled)
            return m_icon.pixmap(logical, scale, mode, state);
        return Disabled(m_icon.pixmap(logical, scale, QIcon::Normal, state));
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * scale, mode, state, scale));
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_icon.actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State state) override
    {
        return m_icon.availableSizes(QIcon::Normal, state);
    }
    QString iconName() override { return m_icon.name(); }
    bool isNull() override { return m_icon.isNull(); }
    QString key() const override { return QStringLiteral("DisabledLookEngine"); }
    QIconEngine* clone() const override { return new DisabledLookEngine(m_icon); }

private:
    // The style's disabled picture, or where it is no different a faded
    // grey one.
    static QPixmap Disabled(const QPixmap& normal)
    {
        if (normal.isNull())
            return normal;
        if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            const QPixmap styled =
                app->style()->generatedIconPixmap(QIcon::Disabled, normal, &option);
            if (!styled.isNull() && styled.toImage() != normal.toImage())
                return styled;
        }
        QImage image = normal.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int grey = qGray(line[x]);
                line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 2 / 5);
            }
        }
        QPixmap faded = QPixmap::fromImage(image);
        faded.setDevicePixelRatio(normal.devicePixelRatio());
        return faded;
    }

    QIcon m_icon;
};

} // namespace

void UseFallbackIconTheme()
{
    // Dark glyphs vanish on a dark palette: its icons come from the dark
    // variant of the theme.
    const bool dark = QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
    const QString fallback =
        QString::fromLatin1(kFallbackIconTheme) + (dark ? QStringLiteral("-dark") : QString());
    QIcon::setFallbackThemeName(fallback);
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
        QIcon::setThemeName(fallback);
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
        {CommandId::FetchMailbox, "mail-receive"},
        {CommandId::SetImportFolder, "document-open-folder"},
        {CommandId::ScanImportFolder, "folder-sync"},
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
        {CommandId::ReviewDuplicates, "merge"},
        {CommandId::DuplicateKeys, "edit-duplicate"},
        {CommandId::QueryBuilder, "edit-find"},
        {CommandId::Statistics, "office-chart-bar"},
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
    if (name.isEmpty())
        return {};
    QIcon themed = QIcon::fromTheme(name);
    if (themed.isNull())
        return {};
    return QIcon(new DisabledLookEngine(std::move(themed)));
}
