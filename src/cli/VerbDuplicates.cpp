#include "session/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/RecordJson.h"
#include "cli/Verbs.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/DuplicateKeys.h"
#include "duplicates/DuplicateMarks.h"
#include "platform/ErrorText.h"

namespace {

// The keys the options give, over those saved with the database; false
// after a usage error in *usage.
bool TakeKeyOptions(QStringList& args, DuplicateKeys* keys, bool* given, QString* usage)
{
    QString fields, within;
    bool hasFields = false, hasWithin = false;
    if (!TakeOption(args, QStringLiteral("--key"), &fields, &hasFields) ||
        !TakeOption(args, QStringLiteral("--within"), &within, &hasWithin)) {
        *usage = QStringLiteral("--key and --within need a value");
        return false;
    }
    const bool whole = TakeFlag(args, QStringLiteral("--whole-response"));
    if (hasFields && whole) {
        *usage = QStringLiteral("give --key or --whole-response, not both");
        return false;
    }
    if (hasFields) {
        keys->fields = fields.split(QLatin1Char(','), Qt::SkipEmptyParts);
        keys->wholeResponse = false;
        if (keys->fields.isEmpty()) {
            *usage = QStringLiteral("--key needs at least one field name");
            return false;
        }
    }
    if (whole) {
        keys->fields.clear();
        keys->wholeResponse = true;
    }
    if (hasWithin) {
        bool ok = false;
        const int days = within.toInt(&ok);
        if (!ok || days < 0) {
            *usage = QStringLiteral("--within needs a number of days (0 or more)");
            return false;
        }
        keys->withinDays = days;
    }
    *given = hasFields || whole;
    return true;
}

QString KeysText(const DuplicateKeys& keys)
{
    QString text = keys.wholeResponse ? QStringLiteral("the whole response")
                                      : keys.fields.join(QStringLiteral(", "));
    if (keys.withinDays)
        text += QStringLiteral(" within %1 day(s)").arg(*keys.withinDays);
    return text;
}

void PrintGroups(QTextStream& out, const std::vector<DuplicateGroup>& groups, bool json)
{
    if (json) {
        out << '[';
        for (size_t g = 0; g < groups.size(); ++g) {
            out << (g ? ",\n" : "\n") << "{\"key\": " << JsonString(groups[g].key)
                << ", \"records\": [";
            for (size_t r = 0; r < groups[g].records.size(); ++r) {
                const DuplicateMember& m = groups[g].records[r];
                out << (r ? ", " : "") << "{\"FormID\": " << m.formId << ", \"Form_Date\": "
                    << (m.date.isEmpty() ? QStringLiteral("null") : JsonString(m.date))
                    << ", \"Form_Name\": " << JsonString(m.name) << '}';
            }
            out << "]}";
        }
        out << (groups.empty() ? "]\n" : "\n]\n");
        return;
    }
    qsizetype records = 0;
    for (size_t g = 0; g < groups.size(); ++g) {
        out << g + 1 << '\t' << groups[g].key << '\n';
        for (const DuplicateMember& m : groups[g].records)
            out << '\t' << m.formId << '\t' << m.date << '\t' << m.name << '\n';
        records += static_cast<qsizetype>(groups[g].records.size());
    }
    out << groups.size() << " group(s) of possible duplicates, " << records << " record(s)\n";
}

} // namespace

// duplicates [--json] DB [--key FIELD[,FIELD...] | --whole-response]
// [--within DAYS] [--save | --mark]: saves the keys with the database, or
// lists every group of records that share a key (the saved keys unless
// given), leaving out records found to be no duplicates; --mark stores the
// groups' marks as well.
int RunDuplicates(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    const bool save = TakeFlag(args, QStringLiteral("--save"));
    const bool mark = TakeFlag(args, QStringLiteral("--mark"));
    DuplicateKeys given;
    bool keysGiven = false;
    QString usage;
    if (!TakeKeyOptions(args, &given, &keysGiven, &usage))
        return UsageError(QStringLiteral("duplicates: ") + usage);
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("duplicates needs one database file"));
    if (save && mark)
        return UsageError(QStringLiteral("duplicates: give --save or --mark, not both"));
    if (save && !keysGiven)
        return UsageError(QStringLiteral("duplicates --save needs --key or --whole-response"));
    if (!OpenCliDatabase(context, args.first(), false,
                         save || mark ? DatabaseAccess::ReadWrite : DatabaseAccess::ReadOnly))
        return kExitFailed;
    DatabaseConnection& connection = *context.session.Database.CurrentDatabase;
    DuplicateKeys keys;
    try {
        keys = LoadDuplicateKeys(connection);
    } catch (const std::exception& e) {
        static_cast<Ui&>(context.ui)
            .MessageBox(QStringLiteral("Error reading the duplicate keys: ") + ErrorText(e),
                        MessageIcon::Exclamation);
        return kExitFailed;
    }
    if (keysGiven) {
        keys.fields = given.fields;
        keys.wholeResponse = given.wholeResponse;
    }
    if (given.withinDays)
        keys.withinDays = given.withinDays;
    if (!keys.IsSet()) {
        static_cast<Ui&>(context.ui)
            .MessageBox(QStringLiteral("No duplicate keys are saved with %1: give --key "
                                       "FIELD[,FIELD...] or --whole-response")
                            .arg(args.first()),
                        MessageIcon::Exclamation);
        return kExitFailed;
    }
    if (!keys.wholeResponse) {
        QString unknown;
        keys.fields = KnownKeyFields(keys.fields, context.session.Database.CurrentFieldNames.List(),
                                     &unknown);
        if (keys.fields.isEmpty()) {
            static_cast<Ui&>(context.ui)
                .MessageBox(
                    QStringLiteral("Unknown key field '%1': the database has no field of that name")
                        .arg(unknown),
                    MessageIcon::Exclamation);
            return kExitFailed;
        }
    }
    if (save) {
        try {
            SaveDuplicateKeys(connection, keys);
        } catch (const std::exception& e) {
            static_cast<Ui&>(context.ui)
                .MessageBox(QStringLiteral("Error saving the duplicate keys: ") +
                                EngineErrorText(&connection, e),
                            MessageIcon::Exclamation);
            return kExitFailed;
        }
        context.out << "Duplicate keys saved: " << KeysText(keys) << '\n';
        return kExitOk;
    }
    DuplicateSearch search = FindDuplicateGroups(context.session, keys);
    if (!search.ok)
        return kExitFailed;
    int marked = 0;
    try {
        DropClearedRecords(search.groups, LoadDuplicateMarks(connection));
        if (mark)
            marked = MarkDuplicateGroups(connection, search.groups);
    } catch (const std::exception& e) {
        static_cast<Ui&>(context.ui)
            .MessageBox(QStringLiteral("Error marking duplicates: ") +
                            EngineErrorText(&connection, e),
                        MessageIcon::Exclamation);
        return kExitFailed;
    }
    PrintGroups(context.out, search.groups, json);
    if (mark && !json)
        context.out << marked << " record(s) marked as possible duplicates\n";
    return kExitOk;
}
