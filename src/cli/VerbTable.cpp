#include "cli/VerbTable.h"

namespace {

const Verb kVerbs[] = {
    {"parse", "parse [--json] FILE... | parse --explain FILE...",
     "find every form response in the files and print them, or how each message was read (no "
     "database)",
     RunParse},
    {"config", "config [--json] FILE",
     "load a form configuration file and print its entries, record fields and placements",
     RunConfig},
    {"create", "create DB", "create a new, empty database file", RunCreate},
    {"import", "import [--relative-to DIR] [--again] [--json] DB FILE|FOLDER...",
     "store every response in the files (and the files below each folder) as new records, "
     "leaving out messages imported before unless --again; prints the tally (as JSON with "
     "--json)",
     RunImport},
    {"fetch",
     "fetch DB imap[s]://USER@HOST[:PORT]/FOLDER [--password-file FILE] [--ca-file FILE] "
     "[--since YYYY-MM-DD] [--again] [--json]",
     "store every response in the folder's messages not fetched before (read only: nothing on "
     "the server changes); prints the tally (as JSON with --json)",
     RunFetch},
    {"list", "list [--fields NAME,...] [--sort [-]COLUMN] [--where COLUMN FILTER]... [--json] DB",
     "every record in FormID order (without fields), or sorted by a column and filtered as the "
     "summary's filter row filters; --fields adds a column per field",
     RunList},
    {"show", "show [--json] DB ID", "one record with its fields", RunShow},
    {"fields", "fields DB", "the database's field names, one per line", RunFields},
    {"info", "info DB", "the database's Info rows, Key<TAB>Value", RunInfo},
    {"find", "find [--json] DB FIELD PATTERN",
     "Quick Find: the records whose FIELD (\"Record Name\" or a field name) matches PATTERN",
     RunFind},
    {"query", "query [--json] DB FILE.qry",
     "run a saved Query Builder query and print the records found", RunQuery},
    {"template", "template [--yes] list | template convert FILE",
     "list the report templates (file, name, output types, description; --yes converts plain "
     "ones), or store one plain template file in the program's form, in place",
     RunTemplate},
    {"render", "render DB ID TEMPLATE [--html]",
     "one record through a report template, as text (or HTML with --html)", RunRender},
    {"export",
     "export DB --type text|html|delimited|screen|pdf [-o FILE] [--ids FROM-TO] [--fields "
     "NAME,...] [--title TEXT] [--template NAME] [--delimiter NAME] [--quotes] [--replace-quotes] "
     "[--join-lines] "
     "[--protect-formulas] [--rfc4180] [--header] [--omit NAME,...] [--pseudonymise NAME,...] "
     "[--yes] [--find FIELD PATTERN | --query FILE.qry] [--sort [-]COLUMN] [--where COLUMN "
     "FILTER]...",
     "output every record (or an ID range, or only the records found) in FormID order; --yes "
     "appends to (or replaces) an existing file; screen prints the text to standard output, pdf "
     "writes the printed pages through the printing template --template names (else the "
     "first); "
     "--protect-formulas puts an apostrophe wherever a spreadsheet would start a cell with =, +, "
     "-, @, a tab, CR or LF, --rfc4180 quotes values holding the delimiter, a quote, CR or LF, "
     "--header "
     "writes the field names first; --omit leaves fields out, --pseudonymise writes each value "
     "of the fields as a pseudonym kept the same by the database's key",
     RunExport},
    {"delete", "delete DB [--ids FROM-TO | --find FIELD PATTERN | --query FILE.qry] [--yes]",
     "delete every record (or an ID range, or the records found); only --yes answers the "
     "question Yes",
     RunDelete},
    {"transfer",
     "transfer DB TARGET [--ids FROM-TO | --find FIELD PATTERN | --query FILE.qry] [--yes]",
     "copy every record (or an ID range, or the records found) into another database; a "
     "missing TARGET is created only with --yes",
     RunTransfer},
    {"duplicates",
     "duplicates [--json] DB [--key FIELD[,FIELD...] | --whole-response] [--within DAYS] [--save | "
     "--mark]",
     "list every group of possible duplicates by the keys given or saved (--save saves the keys "
     "with the database instead, --mark marks the records found as well)",
     RunDuplicates},
    {"merge", "merge DB ID ID... [--keep ID] [--yes]",
     "merge records into one (the earliest unless --keep): each field's latest non-empty value, "
     "the notes of all; the others are deleted; only --yes answers the question Yes",
     RunMerge},
    {"stats",
     "stats [--json] DB [FIELD...] [--find FIELD PATTERN | --query FILE.qry] [--chart "
     "FILE.svg|FILE.png]",
     "count the answers to each field among every record or the records found (--chart draws "
     "one field's chart, or with no field the submissions over time)",
     RunStats},
    {"retention", "retention DB [--set RULE] [--list] [--apply | --dry-run] [--yes]",
     "show or set (--set days=N,action=delete or days=N,action=mask,fields=NAME,...; none "
     "removes it) the database's retention rule; --dry-run lists the records past the period, "
     "--apply --yes deletes or masks them",
     RunRetention},
    {"person", "person DB ADDRESS [--text] [--export FILE.json|FILE.pdf] [--erase] [--yes]",
     "every record whose fields, name or notes hold the e-mail address (or with --text the "
     "text, letter case ignored); --export writes them to one JSON or PDF file, --erase --yes "
     "deletes them",
     RunPerson},
    {"log", "log DB [--since DATE] [--json]",
     "the change log: every import, edit, delete, transfer, merge, retention run, export and "
     "erase, oldest first (when, kind, user, records, what; as a JSON array with --json); "
     "--since leaves out entries before DATE (YYYY-MM-DD)",
     RunLog},
    {"compact", "compact DB",
     "rebuild the database file without its free space and print its size before and after",
     RunCompact},
};

} // namespace

std::span<const Verb> VerbTable()
{
    return kVerbs;
}

const Verb* FindVerb(const QString& name)
{
    for (const Verb& verb : kVerbs) {
        if (name == QLatin1String(verb.name))
            return &verb;
    }
    return nullptr;
}
