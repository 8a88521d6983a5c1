#pragma once

#include "session/WindowHost.h"

#include <QString>
#include <QtGlobal>
#include <vector>

// Where deleting and transferring learn which records to work on: the
// Select Records dialog and the summary grid's selected rows. The desktop
// program answers with its windows, the command line from its options,
// tests from a script.
class RecordChooser {
public:
    virtual ~RecordChooser() = default;
    // Shows the Select Records dialog with caption, modally; it leaves its
    // answer in the session's Selection.
    virtual void ShowSelectDialog(const QString& caption) = 0;
    // FormIDs of the rows selected in the summary grid, in selection order.
    virtual std::vector<qint64> SelectedSummaryRows() const = 0;
};

// The records chosen through the main window: its Select Records dialog and
// the summary grid's selection.
class HostRecordChooser : public RecordChooser {
public:
    explicit HostRecordChooser(WindowHost& host) : m_host(host) {}
    void ShowSelectDialog(const QString& caption) override { m_host.ShowSelectRecords(caption); }
    std::vector<qint64> SelectedSummaryRows() const override
    {
        return m_host.SummarySelectedRows();
    }

private:
    WindowHost& m_host;
};
