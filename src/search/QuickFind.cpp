#include "search/QuickFind.h"

#include "search/SearchFunctions.h"

namespace {
const QString kQuote = QStringLiteral("\"");
}

QuickFindCriteria BuildQuickFindCriteria(const QuickFindEntry& entry, const QString& qualifiedName,
                                         const QString& pattern,
                                         const ColumnKindLookup& formsColumns,
                                         const Regional& regional, const QString& resultPath)
{
    QuickFindCriteria criteria;
    QString quote = kQuote;
    SearchValueKind kind = SearchValueKind::Text;
    QString column;
    const bool byName = entry.itemNumber < 0;
    QString qualified;

    if (!byName) {
        qualified = qualifiedName;
        const QString bare =
            qualified.startsWith(QLatin1String("Forms.")) ? qualified.mid(6) : QString();
        const std::optional<SearchValueKind> found =
            bare.isEmpty() ? std::nullopt : formsColumns(bare);
        if (!found)
            return criteria;
        kind = *found;
        column = QStringLiteral("Forms.") + bare;
        quote = kind == SearchValueKind::Date
                    ? QStringLiteral("#")
                    : (kind == SearchValueKind::Number ? QString() : kQuote);
        criteria.lblFind = QStringLiteral("(");
        criteria.statementHead = QStringLiteral("SELECT *") + QStringLiteral(" INTO [Forms] IN ") +
                                 kQuote + resultPath + kQuote + QStringLiteral(" FROM Forms") +
                                 QStringLiteral(" WHERE ");
    } else {
        qualified = QStringLiteral("Data.Field_Value");
        criteria.lblFind = QStringLiteral("Forms.FormID = ANY (SELECT FormID FROM ") +
                           QStringLiteral("Data") + QStringLiteral(" WHERE ") +
                           QStringLiteral("Field_Name LIKE ") + kQuote + entry.text + kQuote +
                           QStringLiteral(" AND ");
        criteria.statementHead = QStringLiteral("SELECT DISTINCTROW Forms.*") +
                                 QStringLiteral(" INTO [Forms] IN ") + kQuote + resultPath +
                                 kQuote + QStringLiteral(" FROM Forms, Data") +
                                 QStringLiteral(" WHERE ");
    }
    criteria.fieldFound = true;
    criteria.lblFind += qualified + QStringLiteral(" Like ") + quote + pattern + quote;
    criteria.lblFind += QStringLiteral(")");

    SearchCondition& condition = criteria.condition;
    condition.shownStatement = criteria.statementHead + QStringLiteral("(") + criteria.lblFind +
                               QStringLiteral(")") + QStringLiteral(" ORDER BY Forms.FormID");
    if (byName) {
        condition.values = {entry.text, pattern};
        condition.where = QStringLiteral("Forms.FormID IN (SELECT FormID FROM Data WHERE "
                                         "Field_Name = ?1 COLLATE %1 AND Field_Value LIKE ?2)")
                              .arg(QLatin1String(kFoldCollation));
        return criteria;
    }
    switch (kind) {
    case SearchValueKind::Text:
        condition.values = {pattern};
        condition.where = column + QStringLiteral(" LIKE ?1");
        break;
    case SearchValueKind::Date:
        // A date between # signs is one date, never a pattern.
        if (const std::optional<QDate> date = regional.ParseDate(pattern)) {
            condition.values = {date->toString(Qt::ISODate)};
            condition.where = column + QStringLiteral(" = ?1");
        } else {
            criteria.error = QStringLiteral("Syntax error in date in query expression '") +
                             criteria.lblFind + QStringLiteral("'.");
        }
        break;
    case SearchValueKind::Number:
        if (const std::optional<double> number = regional.ParseNumber(pattern)) {
            condition.values = {*number};
            condition.where = column + QStringLiteral(" = ?1");
        } else {
            criteria.error = QStringLiteral("Data type mismatch in criteria expression.");
        }
        break;
    }
    return criteria;
}
