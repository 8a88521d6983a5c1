#pragma once

#include "session/OutputCaches.h"
#include "session/OutputField.h"
#include "session/ReportTemplates.h"
#include "platform/BoundedMemo.h"

#include <QString>
#include <QStringList>

// The template engine's program-wide state, shared by the text, HTML and
// page renderers, the delimited-line builder and the output runner.
struct OutputState {
    // What the text renderer (and the delimited-line builder) produced last.
    QString OutputText;
    // The number an "n" part shows: 1, or the row number while a block repeats.
    qint16 ItemNumber = 1;
    // The page renderer's page counter.
    qint16 PageNumber = 1;
    // The value each renderer wrapped last, so line k+1 continues line k.
    WrapCache TextWrap;
    WrapCache PageWrap;
    // Template pieces cut and parsed once per run rather than per record.
    CutBlocksCache TextBlocks;
    CutBlocksCache HtmlBlocks;
    MarkerPartsCache Markers;
    // Answers a template asks for again on every line it shows. Values put
    // through the date reformatting, by their text; a bounded memo, emptied
    // when full.
    BoundedMemo<QString> ReformattedDates;
    // Whether a key is chosen for output, found while the field list stays
    // the same: the memo keeps a copy of the list, so any change to the
    // list parts it from that copy and the answers are found again.
    struct FieldChoices {
        QList<OutputField> list;
        BoundedMemo<bool> chosen;
    };
    mutable FieldChoices ChosenFields;
    // Typed in the Output Options dialog; empty until then.
    QString ReportTitle;
    TemplateList Templates;
    // Fields offered for output; the first HeaderFieldCount stand for
    // header columns.
    QList<OutputField> OutputFieldList;
    int HeaderFieldCount = 0;
    // Blocks of the template loaded for the page renderer.
    QStringList TemplateLines;
    // The text an on-screen output run produced for the output viewer.
    QString ViewerText;
    // The delimited-file choices of the Output Options dialog. The formula
    // protection starts ticked and is remembered in the settings file
    // (ReadOutputChoices / WriteProtectFormulas); the others start clear.
    bool ProtectFormulas = true;
    // Printed records start on a new page rather than split where they fit
    // on one; remembered like the formula protection.
    bool KeepRecordsWhole = true;
    bool Rfc4180Quoting = false;
    bool FieldNamesFirstLine = false;
};
