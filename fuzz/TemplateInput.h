#pragma once

#include "session/Session.h"
#include "output/OutputFieldList.h"
#include "platform/ScriptedUi.h"
#include "platform/TextCodec.h"
#include "responses/ResponseParser.h"

#include <QByteArray>
#include <QString>

// The template harnesses' input: its first line fills the record in
// session (pairs as in a response, after four fixed ones), the rest is the
// template body, which is returned. The output field list holds three
// record-level fields and the record's fields, the last one unticked.
inline QString TakeRecordAndBody(Session& session, ScriptedUi& ui, const QByteArray& input)
{
    const qsizetype newline = input.indexOf('\n');
    const QByteArray record = newline < 0 ? QByteArray() : input.left(newline);
    ReadRecord(session.Tables, ui, session.RegionalSettings,
               QStringLiteral("Name=Ann+Lee&Colour=blue&When=1%2F5%2F1998&Notes=a%0D%0Ab&") +
                   TextFromBytes(record),
               QDate(1998, 1, 5), QStringLiteral("/mail/responses.txt"), nullptr);
    session.Tables.PutArrayElement(RecordTables::kHeaderTable, RecordTables::FormIdColumn,
                                   QStringLiteral("7"));
    session.Tables.CurrentRow[RecordTables::kFieldTable] = 0;
    const QList<RecordLevelField> recordFields{
        {QStringLiteral("Forms.FormID"), QStringLiteral("1.0"), QStringLiteral("Record ID")},
        {QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"), QStringLiteral("Record Name")},
        {QStringLiteral("Forms.Form_Date"), QStringLiteral("1.3"), QStringLiteral("Record Date")}};
    FillOutputFieldList(session.Output, recordFields,
                        QStringLiteral("\r\nName\r\nColour\r\nWhen\r\nNotes\r\n"));
    if (!session.Output.OutputFieldList.isEmpty())
        session.Output.OutputFieldList.last().PrintStat = false;
    session.Output.ReportTitle = QStringLiteral("Title");
    return TextFromBytes(newline < 0 ? input : input.mid(newline + 1));
}
