#pragma once

#include <QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class Session;

// The start-up options dialog (frmWizard, "Quick Tips"): tips, a first task
// to run, and the two start-up preferences.
class WizardDialog : public QDialog {
    Q_OBJECT
public:
    // The tasks the main window runs for the dialog; each reports its own
    // failures.
    struct Tasks {
        std::function<void()> openDatabase;
        std::function<void()> newDatabase;
        std::function<void()> openSampleDatabase;
        std::function<QString()> openDatabasePath; // the open database, empty when none
        // Hands a file to the desktop's handler; false when none took it
        // (unset: the desktop services).
        std::function<bool(const QString&)> openDocument;
    };

    WizardDialog(Session& session, Tasks tasks, QWidget* parent = nullptr);

    // Selects the option of task (for example "Only save startup options").
    void SelectTask(int task);
    int SelectedTask() const;

    // Runs task as "Go !" or a direct button does.
    void RunTask(int task);

private:
    void AutoOpenClicked(bool ticked);
    void NoWizardClicked(bool ticked);

    Session& m_session;
    Tasks m_tasks;
    QButtonGroup* m_options = nullptr;
    QCheckBox* m_autoOpen = nullptr;
    QCheckBox* m_noWizard = nullptr;
};
