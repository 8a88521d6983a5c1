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
    return *this;
}

QString ImportTally::Line() const
{
    return QStringLiteral("%1 read: %2 with responses (%3 record(s) stored), %4 already imported, "
                          "%5 without a response, %6 failed")
        .arg(Read())
        .arg(imported)
        .arg(stored)
        .arg(known)
        .arg(noResponse)
        .arg(failed);
}

QString ImportTally::Json() const
{
    const QJsonObject object{{QStringLiteral("read"), Read()},
                             {QStringLiteral("imported"), imported},
                             {QStringLiteral("stored"), stored},
                             {QStringLiteral("known"), known},
                             {QStringLiteral("no_response"), noResponse},
                             {QStringLiteral("failed"), failed}};
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}
