#pragma once

#include "app/CommandTable.h"
#include "app/StartupOptions.h"
#include "output/OutputRunner.h"
#include "session/WindowHost.h"

#include <QList>
#include <QString>
#include <optional>
#include <vector>

class ChangeLogBrowser;
class DuplicateKeysSetting;
class DuplicateReview;
class PersonData;
class RetentionSetting;

// The edit commands, carried out on the focused control of the active
// child window.
enum class EditAction { Undo, Cut, Copy, Paste, Delete };

// What the main window does for the dispatcher: windows, dialogs and the
// state of its controls. The desktop program implements it with widgets;
// tests implement it with a recorder.
class ShellView : public WindowHost {
public:
    // Creates the record viewer and the summary when missing, the viewer
    // laid out from the session's form configuration.
    virtual void ShowRecordWindows() = 0;
    virtual bool HasChild(ChildKind child) const = 0;
    // The program cannot go on: the main window closes and the program ends.
    virtual void EndProgram() = 0;
    virtual void CloseChild(ChildKind child) = 0;
    // Whether child is the active child window.
    virtual bool IsActive(ChildKind child) const = 0;
    // The output viewer in front showing text, or its earlier text when none.
    virtual void ShowOutputText(const std::optional<QString>& text) = 0;
    // The navigation entry of the active child window; none when no child
    // window is active.
    virtual NavigationTarget* ActiveNavigationTarget() = 0;
    // The edit action on the focused control of the active child window.
    virtual void DoEdit(EditAction action) = 0;

    virtual void ApplyCommandStates(const QList<CommandState>& states) = 0;
    virtual void ShowRecentFiles(const QStringList& paths) = 0;
    virtual bool ToolbarVisible() const = 0;
    virtual void SetToolbarVisible(bool visible) = 0;

    virtual void ShowStartupOptions(StartupOptions::Task task) = 0;
    virtual void CloseStartupOptions() = 0;
    virtual void ShowHelpContents() = 0;
    virtual void ShowAbout() = 0;
    virtual void ShowPrinterSetup() = 0;
    // The Output Options dialog, modal, set to preset or, with none, to the
    // last output type chosen.
    virtual void ShowOutputOptions(std::optional<OutputType> preset) = 0;
    virtual void TileChildren() = 0;
    virtual void CascadeChildren() = 0;
    virtual void Exit() = 0;
    // A new form configuration was loaded: the windows lay themselves out again.
    virtual void ConfigurationLoaded() = 0;
    // The clipboard import window, modal, holding text for the user to
    // confirm; it runs the import itself.
    virtual void ShowClipboardImport(const QString& text) = 0;
    // Record > Review duplicates: the review window, modal, over a review
    // that has found its groups.
    virtual void ShowDuplicateReview(DuplicateReview& review) = 0;
    // Options > Duplicate keys: the keys dialog, modal, over the loaded setting.
    virtual void ShowDuplicateKeys(DuplicateKeysSetting& setting) = 0;
    // Options > Retention: the retention dialog, modal, over the loaded rule.
    virtual void ShowRetention(RetentionSetting& setting) = 0;
    // Record > Find a person's data: the search dialog, modal, over data.
    virtual void ShowPersonData(PersonData& data) = 0;
    // Options > Statistics: the statistics window, in front, made when missing.
    virtual void ShowStatistics() = 0;
    // Options > Change log: the change log dialog, modal, over a browser
    // that has read the entries.
    virtual void ShowChangeLog(ChangeLogBrowser& browser) = 0;
    // File > Fetch responses from mailbox: the accounts dialog, modal; it
    // runs the fetch itself.
    virtual void ShowMailboxFetch() = 0;
    // A folder chosen by the user, starting in start; empty when cancelled.
    virtual QString ChooseFolder(const QString& title, const QString& start) = 0;
    // Options > Select summary fields: the summary's field columns.
    virtual void ShowSummaryFields() = 0;
};
