#include "app/RecentFiles.h"

#include <QSettings>
#include <memory>

namespace {

const QString kGroup = QStringLiteral("Recent Files");

QString KeyName(int i)
{
    return QStringLiteral("RecentFile") + QString::number(i);
}

// Errors of the per-user store are not reported: a failed write simply
// leaves the list as it was.
std::unique_ptr<QSettings> OpenGroup()
{
    auto store =
        std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                    QStringLiteral("Tallowmere"), QStringLiteral("Tallowmere"));
    store->beginGroup(kGroup);
    return store;
}

} // namespace

namespace RecentFiles {

void AddRecentFile(const QString& path)
{
    const auto store = OpenGroup();
    // Only the first three places count as "already listed": a path that is
    // only fourth moves to the top.
    for (int i = kMaxEntries - 1; i >= 1; --i) {
        if (store->value(KeyName(i)).toString().compare(path, Qt::CaseInsensitive) == 0)
            return;
    }
    for (int i = kMaxEntries - 1; i >= 1; --i) {
        const QString entry = store->value(KeyName(i)).toString();
        if (!entry.isEmpty())
            store->setValue(KeyName(i + 1), entry);
    }
    store->setValue(KeyName(1), path);
    store->sync();
}

QStringList RecentFilesMenuItems()
{
    const auto store = OpenGroup();
    if (store->value(KeyName(1)).toString().isEmpty())
        return {};
    QStringList items;
    for (int i = 1; i <= kMaxEntries; ++i) {
        const QString entry = store->value(KeyName(i)).toString();
        if (!entry.isEmpty())
            items.append(entry);
    }
    return items;
}

void ClearRecentFiles()
{
    const auto store = OpenGroup();
    store->remove(QString()); // the whole group
    store->sync();
}

} // namespace RecentFiles
