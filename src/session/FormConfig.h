#pragma once

#include "session/ViewerLayout.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>

// The fifteen fields of one configuration entry as the entry parser reads
// them. Numbers are signed 16-bit; an entry that is not one of the kinds
// T, S, F or I leaves every field empty or 0.
struct ConfigFields {
    QString EntryKind; // "T", "S", "F" or "I"
    qint16 SectionNumber = 0;
    QString EntryLabel;
    QString ShortName;
    qint16 LabelStyle = 0; // 0: label drawn in red
    qint16 RequiredFlag = 0;
    qint16 Reserved7 = 0; // read and not used
    qint16 MaxLength = 0;
    qint16 Reserved9 = 0; // read and not used
    QString DataType;     // "D", "C", "L", "T" or anything without a rule
    QString DataLocation; // "table.column" of the record cell
    QString DataField;    // database column name
    QString Placement;    // "L..n", "F..n", "Gs.r" or nothing shown
    QString Reserved14;   // read and not used
    QString ComboItems;   // choices, one per line (CR LF between them)

    bool operator==(const ConfigFields&) const = default;
};

// One record-level field offered by Quick Find, the Query Builder and the
// output options.
struct RecordField {
    qint16 EntryNumber = 0;
    QString QualifiedName; // "Forms." followed by the data field
    QString DisplayName;   // "Record ID" or "Record " followed by the short name

    bool operator==(const RecordField&) const = default;
};

// The loaded form configuration. Entry numbers in the placement tables
// refer to ConfigEntries; kNoEntry marks a place no entry configures.
struct FormConfig {
    static constexpr qint16 kNoEntry = -1;
    static constexpr qint16 kNoColumn = -1;

    using GridNumbers =
        std::array<std::array<qint16, ViewerLayout::kGridRows>, ViewerLayout::kGridSections>;

    FormConfig();

    // The raw text of every entry, CR LF line endings and end line included.
    QStringList ConfigEntries;
    // The number of the last entry read completely; -1 before any.
    qint16 LastEntryIndex = -1;

    std::array<qint16, ViewerLayout::kHeaderItems> HeaderItemEntry;
    // The header column (record table 1) each header item shows and edits.
    std::array<qint16, ViewerLayout::kHeaderItems> HeaderItemColumn;
    std::array<qint16, ViewerLayout::kFrames> FrameEntry;
    GridNumbers GridEntry;
    // The record table and column each grid row is bound to.
    GridNumbers GridTable;
    GridNumbers GridColumn;

    // Captions of the record summary's columns, by database column name,
    // taken from the entries placed on header items.
    QMap<QString, QString> SummaryCaptions;

    QList<RecordField> RecordFieldList;

    // The fields of the entry parsed last; every ParseConfig overwrites it.
    ConfigFields ParsedEntry;
};

// Parses entry number entry into config.ParsedEntry. False when the entry
// does not exist, is empty, has fewer than fifteen fields or holds a number
// that does not fit in 16 bits; error (when given) then says which.
bool ParseConfig(FormConfig& config, int entry, QString* error = nullptr);

// The choices of a combo-item field, one per line.
QStringList ComboChoices(const ConfigFields& fields);

// Names of the fifteen fields, numbered from 1 as in the file.
inline constexpr int kConfigFieldCount = 15;
QString ConfigFieldName(int number);

// True for the line that ends an entry: after its leading blanks it is
// exactly "||" and a CR LF.
bool IsConfigEndLine(const QString& line);
