#pragma once

#include <QtGlobal>
#include <functional>
#include <limits>
#include <vector>

class Session;

// What a streaming read fills of each record.
enum class RecordParts {
    HeaderAndFields, // the header and every entry, as ReadResumes fills them
    HeaderOnly       // the header alone; the record has no entries
};

// How a streaming read ended.
enum class StreamEnd {
    Done,    // every record was read; those no longer stored were skipped, each with its message
    Stopped, // the visitor asked to stop
    Failed   // reading failed and the message has been shown; the records before it were visited
};

// Called once a record has been read into session.Tables, with its FormID;
// returns false to stop the read. The tables hold exactly what ReadResumes
// would have put there for that record.
using RecordVisitor = std::function<bool(qint64 formId)>;

class RawRecord;
// The same for a read into a RawRecord, which holds exactly the texts the
// tables would hold, in UTF-8; the tables are left alone.
using RawRecordVisitor = std::function<bool(const RawRecord& record)>;

// Reads many records of the open database one after another into
// session.Tables, in one read transaction, from a few ordered statements
// instead of two statements per record. RecordCursor, the viewer and the
// summary are left alone; afterwards the tables hold the last record read.
//
// A FormID that is no longer stored (deleted after the list was made) shows
// "ReadRecords: Error Reading/Displaying Record: No current record." and is
// skipped. A record the tables cannot hold shows "ReadRecords: Error reading
// into tables" and any other failure "ReadRecords: Error Reading/Displaying
// Record: " with the engine's text; both end the read (Failed).
//
// The visitor may use the same connection. When the connection is already
// inside a transaction the read joins it and leaves it open, so a caller
// that writes while it reads (delete) opens its own transaction first and
// commits it; otherwise the read transaction is ended when the read ends.
class RecordStream {
public:
    explicit RecordStream(Session& session, RecordParts parts = RecordParts::HeaderAndFields);

    // The records with these FormIDs, in the order given (repeats are read
    // again).
    StreamEnd ReadList(const std::vector<qint64>& formIds, const RecordVisitor& visit);

    // Every stored record whose FormID lies in from..to, in ascending
    // FormID order.
    StreamEnd ReadRange(qint64 from, qint64 to, const RecordVisitor& visit);
    StreamEnd ReadAll(const RecordVisitor& visit)
    {
        return ReadRange(1, std::numeric_limits<qint64>::max(), visit);
    }

    // The same reads into a RawRecord: for work that writes the texts
    // straight out again, without a text object for every cell.
    StreamEnd ReadList(const std::vector<qint64>& formIds, const RawRecordVisitor& visit);
    StreamEnd ReadRange(qint64 from, qint64 to, const RawRecordVisitor& visit);
    StreamEnd ReadAll(const RawRecordVisitor& visit)
    {
        return ReadRange(1, std::numeric_limits<qint64>::max(), visit);
    }

private:
    Session& m_session;
    RecordParts m_parts;
};
