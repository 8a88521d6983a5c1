#include "search/QueryBuilder.h"

#include "search/SearchFunctions.h"

#include <vector>

namespace {

const QString kQuote = QStringLiteral("\"");
const QString kBlank = QStringLiteral(" ");

// One piece of the condition in row order.
struct Token {
    enum class Kind { Open, Close, Comparison, And, Or, Xor };
    Kind kind;
    QString sql; // Comparison only
};

bool OnlyBrackets(const QString& cell, QChar bracket, int* count)
{
    *count = 0;
    for (const QChar c : cell) {
        if (c == bracket)
            ++*count;
        else if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

// Recursive descent over the tokens: xor := or (XOR or)*, or := and (OR
// and)*, and := primary (AND primary)*, primary := "(" xor ")" | comparison.
class ConditionParser {
public:
    explicit ConditionParser(const std::vector<Token>& tokens) : m_tokens(tokens) {}

    // The SQL, or empty when the tokens do not form one condition.
    std::optional<QString> Parse()
    {
        std::optional<QString> sql = Xor();
        if (!sql || m_pos != m_tokens.size())
            return std::nullopt;
        return sql;
    }

private:
    bool Next(Token::Kind kind)
    {
        if (m_pos < m_tokens.size() && m_tokens[m_pos].kind == kind) {
            ++m_pos;
            return true;
        }
        return false;
    }

    std::optional<QString> Xor()
    {
        std::optional<QString> left = Or();
        while (left && Next(Token::Kind::Xor)) {
            const std::optional<QString> right = Or();
            if (!right)
                return std::nullopt;
            // Each side is 0, 1 or NULL; exactly one true, NULL stays NULL.
            left = QStringLiteral("((%1) + (%2) = 1)").arg(*left, *right);
        }
        return left;
    }

    std::optional<QString> Or()
    {
        std::optional<QString> left = And();
        while (left && Next(Token::Kind::Or)) {
            const std::optional<QString> right = And();
            if (!right)
                return std::nullopt;
            left = QStringLiteral("(%1 OR %2)").arg(*left, *right);
        }
        return left;
    }

    std::optional<QString> And()
    {
        std::optional<QString> left = Primary();
        while (left && Next(Token::Kind::And)) {
            const std::optional<QString> right = Primary();
            if (!right)
                return std::nullopt;
            left = QStringLiteral("(%1 AND %2)").arg(*left, *right);
        }
        return left;
    }

    std::optional<QString> Primary()
    {
        if (Next(Token::Kind::Open)) {
            std::optional<QString> inner = Xor();
            if (!inner || !Next(Token::Kind::Close))
                return std::nullopt;
            return inner;
        }
        if (m_pos < m_tokens.size() && m_tokens[m_pos].kind == Token::Kind::Comparison)
            return m_tokens[m_pos++].sql;
        return std::nullopt;
    }

    const std::vector<Token>& m_tokens;
    size_t m_pos = 0;
};

// The SQL comparison of one row; its value is appended to values.
QString Comparison(const QString& column, const QString& op, const QString& typeLetter,
                   const QVariant& value, QVariantList& values)
{
    values.append(value);
    const QString parameter = QStringLiteral("?%1").arg(values.size());
    const bool text = value.typeId() == QMetaType::QString && typeLetter != QLatin1String("D");
    if (op == QLatin1String("LIKE")) {
        if (text)
            return column + QStringLiteral(" LIKE ") + parameter;
        return column + QStringLiteral(" = ") + parameter; // a date or number is itself
    }
    QString sql = column + kBlank + op + kBlank + parameter;
    if (text)
        sql += QStringLiteral(" COLLATE ") + QLatin1String(kFoldCollation);
    return sql;
}

} // namespace

BuiltQuery BuildQuery(const QueryGrid& grid, int columns, Ui& ui, const Regional& regional,
                      const ColumnKindLookup& formsColumns, const QString& resultPath)
{
    using namespace QueryMessages;
    BuiltQuery built;
    const qsizetype n = grid.size();

    if (n == 0) {
        built.outcome = BuiltQuery::Outcome::Empty;
        return built;
    }
    if (n == 1) {
        bool empty = true;
        for (int c = 0; c < kShownQueryColumns; ++c)
            empty = empty && grid[0][c].isEmpty();
        if (empty) {
            built.outcome = BuiltQuery::Outcome::Empty;
            return built;
        }
    }

    built.tableList = QStringLiteral("Forms");
    for (const QueryRow& row : grid) {
        if (!built.tableList.contains(row[kTableColumn]))
            built.tableList += QStringLiteral(", ") + row[kTableColumn];
    }

    const int processed = std::min(columns, kShownQueryColumns);
    qsizetype r = 0; // the row being checked
    auto fault = [&](int column) {
        if (built.faultRow < 0) {
            built.faultRow = int(r);
            built.faultColumn = column;
        }
    };
    auto reject = [&](const QString& message, int column = -1) {
        if (column >= 0) {
            fault(column);
            ui.MessageBox(AtRow(message, r), MessageIcon::Exclamation);
        } else {
            ui.MessageBox(message, MessageIcon::Exclamation);
        }
        built.outcome = BuiltQuery::Outcome::Rejected;
        return built;
    };

    QString& w = built.criteria;
    std::vector<Token> tokens;
    QVariantList& values = built.condition.values;
    bool failed = false;

    for (r = 0; r < n; ++r) {
        const QueryRow& row = grid[r];
        const bool last = r == n - 1;
        const bool onData = row[kTableColumn] != QLatin1String("Forms");
        QString column; // SQL column of the comparison
        QString op;     // SQL operator
        QVariant value; // bound value
        bool negated = false;
        bool complete = true;
        int closes = 0;
        Token::Kind connector = Token::Kind::Comparison; // none

        for (int c = 0; c < processed; ++c) {
            switch (c) {
            case kOpenBrackets: {
                int opens = 0;
                if (!OnlyBrackets(row[c], QLatin1Char('('), &opens))
                    return reject(kBracketCell, c);
                for (int i = 0; i < opens; ++i)
                    tokens.push_back({Token::Kind::Open, {}});
                w += row[c] + kBlank;
                break;
            }
            case kNotColumn: {
                const QString notCell = row[c].trimmed();
                if (!notCell.isEmpty() &&
                    notCell.compare(QLatin1String("NOT"), Qt::CaseInsensitive) != 0)
                    return reject(kNotCell, c);
                negated = !notCell.isEmpty();
                w += QStringLiteral("(");
                if (onData) {
                    w += QStringLiteral("Forms.FormID = ANY (") +
                         QStringLiteral("SELECT FormID FROM ") + row[kTableColumn] +
                         QStringLiteral(" WHERE ") + QStringLiteral("Field_Name LIKE ") + kQuote +
                         row[kFieldNameColumn].trimmed() + kQuote + QStringLiteral(" AND (");
                }
                w += row[c] + kBlank;
                break;
            }
            case kFieldNameColumn: {
                const QString field = row[kDatabaseFieldColumn].trimmed();
                if (field.isEmpty())
                    return reject(kField, c);
                if (onData) {
                    column = QStringLiteral("Field_Value");
                } else {
                    // Only a real column of Forms may reach the statement.
                    const QString bare =
                        field.startsWith(QLatin1String("Forms.")) ? field.mid(6) : QString();
                    if (bare.isEmpty() || !formsColumns(bare))
                        return reject(kField, c);
                    column = QStringLiteral("Forms.") + bare;
                }
                w += row[kDatabaseFieldColumn] + kBlank;
                break;
            }
            case kOperatorColumn: {
                const QString& cell = row[c];
                if (cell.isEmpty() || !QueryOperators().contains(cell.trimmed().toUpper()))
                    return reject(kOperator, c);
                op = cell.trimmed().toUpper();
                w += cell + kBlank;
                break;
            }
            case kValueColumn: {
                const QString& cell = row[c];
                if (cell.trimmed().isEmpty())
                    return reject(kValue, c);
                const QString& type = row[kDataTypeColumn];
                if (type == QLatin1String("T") || type == QLatin1String("M")) {
                    value = cell;
                    w += kQuote + cell + kQuote + kBlank;
                } else if (type == QLatin1String("D")) {
                    const std::optional<QDate> date = regional.ParseDate(cell);
                    if (date) {
                        value = date->toString(Qt::ISODate);
                        w += QStringLiteral("#") + cell + QStringLiteral("#") + kBlank;
                    } else {
                        fault(c);
                        ui.MessageBox(AtRow(kDate, r), MessageIcon::Exclamation);
                        failed = true;
                    }
                } else if (type == QLatin1String("C") || type == QLatin1String("L")) {
                    const std::optional<double> number = regional.ParseNumber(cell);
                    if (number) {
                        value = *number;
                        w += cell + kBlank;
                    } else {
                        fault(c);
                        ui.MessageBox(AtRow(kNumber, r), MessageIcon::Exclamation);
                        failed = true;
                    }
                } else {
                    const std::optional<double> number = regional.ParseNumber(cell);
                    value = number ? QVariant(*number) : QVariant(cell);
                    w += cell + kBlank;
                }
                w += onData ? QStringLiteral("))) ") : QStringLiteral(") ");
                break;
            }
            case kCloseBrackets: {
                if (!OnlyBrackets(row[c], QLatin1Char(')'), &closes))
                    return reject(kBracketCell, c);
                w += row[c] + kBlank;
                break;
            }
            case kConnectorColumn: {
                const QString cell = row[c].trimmed().toUpper();
                if (cell.isEmpty() || cell == QLatin1String("END")) {
                    if (!last)
                        return reject(kConnector, c);
                    break;
                }
                if (cell == QLatin1String("AND"))
                    connector = Token::Kind::And;
                else if (cell == QLatin1String("OR"))
                    connector = Token::Kind::Or;
                else if (cell == QLatin1String("XOR"))
                    connector = Token::Kind::Xor;
                else
                    return reject(kConnector, c);
                if (last)
                    return reject(kLastConnector, c);
                w += row[c] + kBlank;
                break;
            }
            default:
                break;
            }
        }
        complete = processed > kValueColumn;
        if (failed || !complete)
            continue;

        QString sql = Comparison(column, op, row[kDataTypeColumn], value, values);
        if (negated)
            sql = QStringLiteral("NOT (") + sql + QStringLiteral(")");
        if (onData) {
            values.append(row[kFieldNameColumn].trimmed());
            sql = QStringLiteral("Forms.FormID IN (SELECT FormID FROM Data WHERE Field_Name = ?%1 "
                                 "COLLATE %2 AND %3)")
                      .arg(values.size())
                      .arg(QLatin1String(kFoldCollation), sql);
        } else {
            sql = QStringLiteral("(") + sql + QStringLiteral(")");
        }
        tokens.push_back({Token::Kind::Comparison, sql});
        for (int i = 0; i < closes; ++i)
            tokens.push_back({Token::Kind::Close, {}});
        if (connector != Token::Kind::Comparison)
            tokens.push_back({connector, {}});
    }

    if (failed)
        return built; // the date and number messages have been shown
    if (processed <= kValueColumn)
        return reject(QStringLiteral("Incomplete query expression\r\n") + kCheckQuery);

    int depth = 0;
    for (const Token& t : tokens) {
        depth += t.kind == Token::Kind::Open ? 1 : (t.kind == Token::Kind::Close ? -1 : 0);
        if (depth < 0)
            break;
    }
    if (depth != 0)
        return reject(kUnbalanced);
    const std::optional<QString> where = ConditionParser(tokens).Parse();
    if (!where) {
        // Balanced brackets but no connector between two rows: only
        // possible when the connector column is not processed.
        return reject(kConnector);
    }

    built.condition.where = *where;
    built.condition.shownStatement = QStringLiteral("SELECT DISTINCTROW Forms.*") +
                                     QStringLiteral(" INTO [Forms] IN ") + kQuote + resultPath +
                                     kQuote + QStringLiteral(" FROM ") + built.tableList +
                                     QStringLiteral(" WHERE") + QStringLiteral("(") + w +
                                     QStringLiteral(")") + QStringLiteral(" ORDER BY Forms.FormID");
    built.outcome = BuiltQuery::Outcome::Ready;
    return built;
}
