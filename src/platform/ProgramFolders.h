#pragma once

#include <QString>

// Where the program finds its read-only resources (default.cfg, report
// templates, the sample database, the tutorial, help pages) and where it
// writes its own files (Tallowmere.ini, converted templates). Search
// results (TempDB.tdb) go to a folder of the running program's own.
class ProgramFolders {
public:
    ProgramFolders() = default;
    ProgramFolders(QString programFolder, QString writableFolder)
        : m_program(std::move(programFolder)), m_writable(std::move(writableFolder))
    {}

    // Program folder: $TALLOWMERE_HOME when set, else executableFolder when
    // it holds default.cfg, else the installed share folder. Writable folder:
    // the program folder when it can be written, else the per-user data
    // folder.
    static ProgramFolders Resolve(const QString& executableFolder);

    const QString& Program() const { return m_program; }
    const QString& Writable() const { return m_writable; }

    QString ProgramFile(const QString& name) const;
    QString WritableFile(const QString& name) const;
    // A file of the program folder found without regard to letter case
    // ("Default_Dat.rpt" finds "Default_dat.rpt"); the writable folder is
    // searched first so that users can add or replace files. Empty when
    // none exists.
    QString FindFile(const QString& name) const;

    // The settings file and the search-result file. The result file is in
    // the results folder when one is set (each running program sets its
    // own, so two programs never share one), else in the writable folder.
    QString SettingsFile() const { return WritableFile(QStringLiteral("Tallowmere.ini")); }
    QString SearchResultFile() const;
    void SetResultsFolder(QString folder) { m_results = std::move(folder); }

    // Where a running program makes its private folder: the user's runtime
    // folder when the system gives one, else the writable folder when it is
    // the user's own, else the per-user data folder.
    QString PrivateFoldersPlace() const;

private:
    QString m_program;
    QString m_writable;
    QString m_results;
};

// A file in folder whose name equals name without regard to letter case;
// the exact spelling wins. Empty when there is none.
QString FindFileIgnoringCase(const QString& folder, const QString& name);
