#include "ledger/ImportTally.h"

#include <QJsonDocument>
#include <QJsonObject>

ImportTally& ImportTally::operator+=(const ImportTally& other)
{
    imported += other.imported;
    stored += other.stored;
    known += other.known;
    noResponse += other.noResponse;
    failed += other.failed;
    warnings += other.warnings;
    return *this;
}

QString ImportTally::Line() const
{
    const QString line =
        QStringLiteral("%1 read: %2 with responses (%3 record(s) stored), %4 already imported, "
                       "%5 without a response, %6 failed")
            .arg(Read())
            .arg(imported)
            .arg(stored)
            .arg(known)
            .arg(noResponse)
            .arg(failed);
    // Only an import that met one names its warnings.
    return warnings > 0 ? line + QStringLiteral(", %1 warning(s)").arg(warnings) : line;
}

QString ImportTally::Json() const
{
    QJsonObject object{{QStringLiteral("read"), Read()},
                       {QStringLiteral("imported"), imported},
                       {QStringLiteral("stored"), stored},
                       {QStringLiteral("known"), known},
                       {QStringLiteral("no_response"), noResponse},
                       {QStringLiteral("failed"), failed}};
    if (warnings > 0)
        object.insert(QStringLiteral("warnings"), warnings);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}
