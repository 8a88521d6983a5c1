#pragma once

#include "app/ShellView.h"
#include "database/RecordWalk.h"

// The records to delete or transfer, chosen through the main window: its
// Select Records dialog and the summary grid's selection.
class ShellRecordChooser : public RecordChooser {
public:
    explicit ShellRecordChooser(ShellView& view) : m_view(view) {}
    void ShowSelectDialog(const QString& caption) override { m_view.ShowSelectRecords(caption); }
    std::vector<qint64> SelectedSummaryRows() const override
    {
        return m_view.SummarySelectedRows();
    }

private:
    ShellView& m_view;
};
