#include "output/MarkerEvaluator.h"

#include "session/Session.h"
#include "session/OutputState.h"
#include "platform/ResponseText.h"

namespace {

const QChar kBullet(0x00B7);

QString HeaderCell(const RecordTables& tables, int column)
{
    if (!tables.IsColumnInRange(RecordTables::kHeaderTable, column))
        return {};
    return tables.Header(column);
}

// Column number after the first "." of a header entry's key.
int KeyColumn(const QString& key)
{
    const qsizetype dot = key.indexOf(QLatin1Char('.'));
    return dot < 0 ? -1 : key.mid(dot + 1).trimmed().toInt();
}

QString LastFieldValue(const RecordTables& tables, QStringView name)
{
    QString value;
    for (int row = 0; row < tables.RowCount[RecordTables::kFieldTable]; ++row) {
        if (QStringView(tables.Field(row, RecordTables::FieldNameColumn))
                .trimmed()
                .compare(name, Qt::CaseInsensitive) == 0)
            value = tables.Field(row, RecordTables::FieldValueColumn);
    }
    return value;
}

QString NamedValue(const Session& session, const QString& name)
{
    const OutputState& state = session.Output;
    const QStringView wanted = QStringView(name).trimmed();
    for (int i = 0; i < state.OutputFieldList.size(); ++i) {
        const OutputField& entry = state.OutputFieldList[i];
        if (QStringView(entry.Key).trimmed().compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        if (!entry.PrintStat)
            return {};
        if (i < state.HeaderFieldCount)
            return HeaderCell(session.Tables, KeyColumn(entry.Key));
        return LastFieldValue(session.Tables, wanted);
    }
    return {};
}

QString TableValue(const Session& session, int a, int b)
{
    const RecordTables& tables = session.Tables;
    const int column = std::abs(b);
    if (a == RecordTables::kHeaderTable) {
        if (!IsFieldSelected(session.Output, QStringLiteral("1.") + QString::number(column)))
            return {};
        return HeaderCell(tables, column);
    }
    if (a == RecordTables::kFieldTable) {
        const int row = tables.CurrentRow[a];
        if (tables.RowCount[a] < 1 || row < 0 || row >= tables.RowCount[a] ||
            !tables.IsColumnInRange(a, column))
            return {};
        if (!IsFieldSelected(session.Output, tables.Field(row, RecordTables::FieldNameColumn)))
            return {};
        return tables.Field(row, column);
    }
    return {};
}

QString SpecialValue(const Session& session, int b)
{
    switch (std::abs(b)) {
    case 1:
        return QString::number(session.Output.PageNumber);
    case 2:
        return QStringLiteral("-");
    case 3:
        return session.Output.ReportTitle;
    default:
        return {};
    }
}

} // namespace

bool IsFieldSelected(const OutputState& state, const QString& key)
{
    OutputState::FieldChoices& memo = state.ChosenFields;
    if (memo.list.constData() != state.OutputFieldList.constData() ||
        memo.list.size() != state.OutputFieldList.size()) {
        memo.list = state.OutputFieldList;
        memo.chosen.Clear();
    }
    return memo.chosen.Of(key, [&] {
        const QStringView wanted = QStringView(key).trimmed();
        for (const OutputField& entry : state.OutputFieldList) {
            // Letter case is folded one code unit for one, so only keys of
            // the same length can match; most are told apart without
            // comparing.
            if (entry.Key.size() == wanted.size() &&
                wanted.compare(entry.Key, Qt::CaseInsensitive) == 0)
                return entry.PrintStat;
        }
        return true;
    });
}

namespace {

QString ReformatDateText(Session& session, const QString& value)
{
    const Regional& regional = session.RegionalSettings;
    const auto date = regional.ParseDate(value);
    if (!date || regional.IsNumeric(value))
        return value;
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return QLatin1String(kMonths[date->month() - 1]) + QLatin1Char(' ') +
           QString::number(date->day()) + QStringLiteral(", ") +
           QString::number(date->year()).rightJustified(4, QLatin1Char('0'));
}

} // namespace

QString ReformatDate(Session& session, const QString& value)
{
    // Texts longer than any date are not remembered; they come back
    // unchanged at once.
    constexpr qsizetype kRemembered = 100;
    if (value.isEmpty())
        return value;
    if (value.size() > kRemembered)
        return ReformatDateText(session, value);
    return session.Output.ReformattedDates.Of(value,
                                              [&] { return ReformatDateText(session, value); });
}

QString HtmlValue(const QString& value)
{
    QString escaped = value.toHtmlEscaped();
    escaped.replace(QStringLiteral("\r\n"), QStringLiteral("<BR>"));
    return escaped;
}

MarkerValue EvaluateMarker(Session& session, const QString& markerText, ValueStyle style,
                           bool quiet)
{
    MarkerValue result;
    const QList<MarkerPart> parts = ParseMarkerParts(session.Output.Markers, markerText);
    for (const MarkerPart& part : parts) {
        switch (part.kind) {
        case MarkerPart::Kind::Bullet:
            result.text += kBullet;
            continue;
        case MarkerPart::Kind::ItemNumber:
            result.text += QString::number(session.Output.ItemNumber) + QLatin1Char('.');
            continue;
        case MarkerPart::Kind::Invalid:
            if (!quiet)
                session.ui.MessageBox(QStringLiteral("Invalid Line Format in report template"),
                                      MessageIcon::Exclamation);
            continue;
        case MarkerPart::Kind::Value:
        case MarkerPart::Kind::Named:
            break;
        }
        QString value;
        if (part.kind == MarkerPart::Kind::Named)
            value = NamedValue(session, part.name);
        else if (part.a < 0)
            value = SpecialValue(session, part.b);
        else if (part.a > 0)
            value = TableValue(session, part.a, part.b);
        value = ReformatDate(session, value);
        if (style == ValueStyle::Html)
            value = HtmlValue(value);

        QString piece;
        if (part.hasLeadIn) {
            if (part.a != 0 && TrimBlanks(value).isEmpty())
                piece.clear();
            else if (part.b < 0)
                piece = part.leadIn;
            else
                piece = part.leadIn + value;
        } else {
            piece = value;
        }
        result.text += piece;
        result.a = part.a;
        result.b = part.b;
        result.c = part.c;
        result.d = part.d;
    }
    return result;
}

bool LineIsShown(const MarkerValue& lineSpec, const RecordTables& tables)
{
    if ((lineSpec.b != 0 || lineSpec.a < 2) && lineSpec.text.isEmpty() && lineSpec.a != 0)
        return false;
    if (lineSpec.b == 0 && lineSpec.a >= 2) {
        if (lineSpec.a >= RecordTables::kTables || tables.RowCount[lineSpec.a] == 0)
            return false;
    }
    return true;
}

RowCursorGuard::RowCursorGuard(RecordTables& tables) : m_tables(tables)
{
    for (int t = 1; t < RecordTables::kTables; ++t) {
        m_saved[t] = tables.CurrentRow[t];
        tables.CurrentRow[t] = 0;
    }
}

RowCursorGuard::~RowCursorGuard()
{
    for (int t = 1; t < RecordTables::kTables; ++t)
        m_tables.CurrentRow[t] = m_saved[t];
}

bool NextRepetition(RecordTables& tables, int a)
{
    if (a < 2 || a >= RecordTables::kTables)
        return false;
    if (tables.CurrentRow[a] < tables.RowCount[a] - 1) {
        ++tables.CurrentRow[a];
        return true;
    }
    return false;
}
