#pragma once

#include "session/Session.h"
#include "session/OutputState.h"
#include "output/TemplateFile.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <utility>

// A session over a temporary program folder, with a scripted Ui and the
// pinned test locale, plus helpers to fill the record and write templates.
class OutputFixture : public ::testing::Test {
protected:
    OutputFixture() : session(ui, dir.Folders(), Regional(TestLocale())) {}

    // Header columns: ID, name, notes, date, source; then field rows.
    void SetRecord(const QStringList& header, const QList<std::pair<QString, QString>>& fields)
    {
        RecordTables& t = session.Tables;
        t.ClearRecordTables();
        for (int c = 0; c < header.size(); ++c)
            t.PutArrayElement(RecordTables::kHeaderTable, c, header[c]);
        for (int r = 0; r < fields.size(); ++r) {
            t.CurrentRow[RecordTables::kFieldTable] = static_cast<qint16>(r);
            t.PutArrayElement(RecordTables::kFieldTable, 0, QString::number(100 + r));
            t.PutArrayElement(RecordTables::kFieldTable, 1, fields[r].first);
            t.PutArrayElement(RecordTables::kFieldTable, 2, fields[r].second);
            t.PutArrayElement(RecordTables::kFieldTable, 3, header.value(0));
        }
        t.CurrentRow[RecordTables::kFieldTable] = 0;
    }

    // Writes a template in stored form: header lines, then the body.
    QString WriteTemplate(const QString& name, const QByteArray& body,
                          const QByteArray& header = "#NAME{Test}\r\n#OUTPUTTYPE{Screen}\r\n")
    {
        QByteArray stored;
        QString error;
        EXPECT_TRUE(ScrambleTemplate(header + "#BEGIN\r\n" + body, &stored, &error))
            << qPrintable(error);
        return dir.Write(name, stored);
    }

    QString Crlf(QString text) const
    {
        return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    }

    TempDir dir;
    ScriptedUi ui;
    Session session;
};
