#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

// The child windows of the main window.
enum class ChildKind { Viewer, Summary, OutputViewer, QueryBuilder, Statistics };

// The moves through the records of the summary.
enum class Navigation { First = 0, Previous = 1, Next = 2, Last = 3 };

// The navigation entry a child window offers.
class NavigationTarget {
public:
    virtual ~NavigationTarget() = default;
    virtual void Command1_Click(Navigation move) = 0;
};

// What a child window's controller asks of the window holding it: the
// narrow part of the main window the viewer and the Query Builder use.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void BringToFront(ChildKind child) = 0;
    // The Query Builder in front, created on first use.
    virtual void ShowQueryBuilder() = 0;
    // The Select Records dialog with caption, modal; it leaves its answer in
    // the session's Selection.
    virtual void ShowSelectRecords(const QString& caption) = 0;
    // FormIDs of the rows selected in the summary grid, in selection order.
    virtual std::vector<qint64> SummarySelectedRows() const = 0;
};
