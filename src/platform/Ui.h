#pragma once

#include <QString>
#include <optional>
#include <QStringList>

// The one seam through which the program talks to the person using it.
// Every message, status text, file choice and progress report goes through
// here, so every flow runs the same with real dialogs (QtUi), on a console
// (ConsoleUi) or in tests (ScriptedUi).

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// One entry of a file dialog's filter list: "Database Files (*.fdb)" with
// the pattern "*.fdb".
struct FileFilter {
    QString description;
    QString pattern;
    bool operator==(const FileFilter&) const = default;
};

// Parses the program's filter text "All Files (*.*)|*.*|Database Files
// (*.fdb)|*.fdb|" into its entries.
QList<FileFilter> ParseFileFilters(const QString& filterText);

struct FileDialogRequest {
    QString title;
    QList<FileFilter> filters;
    int selectedFilter = 0;   // index into filters
    QString proposedName;     // for example "*.fdb"
    QString defaultExtension; // without the dot, for example "fdb"
    bool multipleSelection = false;
    bool overwritePrompt = false; // save dialogs: ask before choosing an existing file
    QString optionText;           // when set, a check box under the files, cleared at first
};

struct FileDialogResult {
    bool cancelled = true;
    QStringList paths; // in the order the dialog gives them
    bool optionChecked = false;
};

struct ProgressRequest {
    QString caption = QStringLiteral("Working...");
    int minimum = 0;
    int maximum = 100;
    int value = 0;
    QString label;
    bool showBar = true;
    bool cancellable = true;
};

class Ui {
public:
    virtual ~Ui() = default;

    virtual MessageAnswer MessageBox(const QString& text, MessageIcon icon = MessageIcon::None,
                                     MessageButtons buttons = MessageButtons::Ok) = 0;
    virtual void SetStatusText(const QString& text) = 0;
    virtual QString StatusText() const = 0;
    virtual void SetBusy(bool busy) = 0;

    virtual FileDialogResult OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual FileDialogResult SaveFileDialog(const FileDialogRequest& request) = 0;

    // Lets the window system repaint and deliver clicks (a Cancel button).
    virtual void Yield() = 0;

    // The progress dialog. CancelRequested is set by its Cancel button and
    // read and cleared by the loop that shows it.
    virtual void ShowProgress(const ProgressRequest& request) = 0;
    virtual void UpdateProgress(int value, const QString& label) = 0;
    // The label of a loop over records, "value/total"; a Ui that shows no
    // progress need not make its text for every record.
    virtual void UpdateProgressCount(int value, qint64 total)
    {
        UpdateProgress(value, QString::number(value) + QLatin1Char('/') + QString::number(total));
    }
    virtual void CloseProgress() = 0;
    virtual bool ProgressVisible() const = 0;
    virtual bool CancelRequested() const = 0;
    virtual void ClearCancelRequested() = 0;

    virtual QString ClipboardText() const = 0;
    virtual void SetClipboardText(const QString& text) = 0;

    // The status of a window that becomes active ("Summary of Records").
    // A command's result stays until the next command starts: a window
    // coming to the front again as the command's dialogs close leaves it.
    void ShowWindowStatus(const QString& text);
    // A command starts: the result before it gives way to the status of
    // the window last shown.
    void StartCommand();

private:
    QString m_windowStatus;
    std::optional<QString> m_windowStatusShown;
};

// Shows the busy pointer for the lifetime of the guard.
class BusyPointer {
public:
    explicit BusyPointer(Ui& ui) : m_ui(ui) { m_ui.SetBusy(true); }
    ~BusyPointer() { m_ui.SetBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Ui& m_ui;
};
