#include "search/SummaryFilter.h"

#include "search/LikePattern.h"
#include "search/SearchFunctions.h"

#include <optional>

namespace {

// A typed value as the column compares it.
struct Operand {
    enum Kind { Number, Date, Text } kind = Text;
    QVariant value;
};

std::optional<Operand> ReadOperand(const QString& text, SummaryValueKind column,
                                   const Regional& regional, QString* error)
{
    const std::optional<double> number = regional.ParseNumber(text);
    switch (column) {
    case SummaryValueKind::Number:
        if (!number) {
            *error = QStringLiteral("'%1' is not a number").arg(text);
            return std::nullopt;
        }
        return Operand{Operand::Number, *number};
    case SummaryValueKind::Date:
        if (const std::optional<QDate> date = regional.ParseDate(text))
            return Operand{Operand::Date, IsoDateText(*date)};
        *error = QStringLiteral("'%1' is not a date").arg(text);
        return std::nullopt;
    case SummaryValueKind::Text:
        return Operand{Operand::Text, text};
    case SummaryValueKind::Field:
        if (number)
            return Operand{Operand::Number, *number};
        if (const std::optional<QDate> date = regional.ParseDate(text))
            return Operand{Operand::Date, IsoDateText(*date)};
        return Operand{Operand::Text, text};
    }
    return std::nullopt;
}

// The column's expression as compared with an operand of kind.
QString Compared(const QString& expression, SummaryValueKind column, Operand::Kind kind)
{
    if (column != SummaryValueKind::Field)
        return expression;
    switch (kind) {
    case Operand::Number:
        return QStringLiteral("tm_number(%1)").arg(expression);
    case Operand::Date:
        return QStringLiteral("tm_date(%1)").arg(expression);
    case Operand::Text:
        break;
    }
    return expression;
}

QString Collated(Operand::Kind kind)
{
    return kind == Operand::Text ? QStringLiteral(" COLLATE ") + QLatin1String(kFoldCollation)
                                 : QString();
}

bool EndsBeforeStart(Operand::Kind kind, const QVariant& low, const QVariant& high)
{
    if (kind == Operand::Number)
        return high.toDouble() < low.toDouble();
    if (kind == Operand::Date)
        return high.toString() < low.toString();
    return QString::compare(high.toString(), low.toString(), Qt::CaseInsensitive) < 0;
}

} // namespace

SummaryFilterSql SummaryFilterToSql(const QString& typed, SummaryValueKind kind,
                                    const QString& expression, int firstParameter,
                                    const Regional& regional)
{
    SummaryFilterSql sql;
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return sql;
    const QString p1 = QStringLiteral("?%1").arg(firstParameter);
    const QString p2 = QStringLiteral("?%1").arg(firstParameter + 1);

    static const char* const kOperators[] = {"<>", "<=", ">=", "=", "<", ">"};
    for (const char* op : kOperators) {
        const QLatin1String sign(op);
        if (!text.startsWith(sign))
            continue;
        const QString value = text.mid(sign.size()).trimmed();
        if (value.isEmpty()) {
            sql.error = QStringLiteral("'%1' needs a value after it").arg(sign);
            return sql;
        }
        const std::optional<Operand> operand = ReadOperand(value, kind, regional, &sql.error);
        if (!operand)
            return sql;
        sql.where = Compared(expression, kind, operand->kind) + QLatin1Char(' ') + sign +
                    QLatin1Char(' ') + p1 + Collated(operand->kind);
        sql.values = {operand->value};
        return sql;
    }

    if (const qsizetype tilde = text.indexOf(QLatin1Char('~')); tilde >= 0) {
        const QString from = text.left(tilde).trimmed();
        const QString to = text.mid(tilde + 1).trimmed();
        if (from.isEmpty() || to.isEmpty()) {
            sql.error = QStringLiteral("a range needs a value on each side of '~'");
            return sql;
        }
        const std::optional<Operand> low = ReadOperand(from, kind, regional, &sql.error);
        if (!low)
            return sql;
        const std::optional<Operand> high = ReadOperand(to, kind, regional, &sql.error);
        if (!high)
            return sql;
        // Over a field both ends must be of one kind; a text end makes the
        // other one a text too.
        const Operand::Kind common = low->kind == high->kind ? low->kind : Operand::Text;
        const QVariant lowValue = common == low->kind ? low->value : QVariant(from);
        const QVariant highValue = common == high->kind ? high->value : QVariant(to);
        if (EndsBeforeStart(common, lowValue, highValue)) {
            sql.error = QStringLiteral("the range '%1' ends before it starts").arg(text);
            return sql;
        }
        const QString compared = Compared(expression, kind, common);
        sql.where =
            QStringLiteral("(%1%2 BETWEEN %3 AND %4)").arg(compared, Collated(common), p1, p2);
        sql.values = {lowValue, highValue};
        return sql;
    }

    // A pattern; on the record number and the date a plain value is one
    // number or one date, as Quick Find takes them.
    if (kind == SummaryValueKind::Date ||
        (kind == SummaryValueKind::Number && regional.ParseNumber(text))) {
        const std::optional<Operand> operand = ReadOperand(text, kind, regional, &sql.error);
        if (!operand)
            return sql;
        sql.where = expression + QStringLiteral(" = ") + p1;
        sql.values = {operand->value};
        return sql;
    }
    QString patternError;
    if (!LikePattern::Compile(text, &patternError)) {
        sql.error = patternError;
        return sql;
    }
    sql.where = QStringLiteral("CAST(%1 AS TEXT) LIKE %2").arg(expression, p1);
    sql.values = {text};
    return sql;
}
