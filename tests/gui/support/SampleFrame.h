#pragma once

#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"

#include <gtest/gtest.h>
#include <memory>

// A window test's main window on a sample database of twelve records, with
// the shipped configuration and templates and no Quick Tips in the way.
class SampleFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentFiles::ClearRecentFiles();
        PrepareProgramFolder(dir, Templates::All);
        frame = std::make_unique<MainWindow>(session, shell);
        frame->MDIForm_Load(MakeSampleDatabase(dir, QStringLiteral("forms.fdb")));
        if (frame->Wizard())
            frame->Wizard()->close();
    }
    void TearDown() override
    {
        frame.reset();
        RecentFiles::ClearRecentFiles();
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    ShellController shell{session};
    std::unique_ptr<MainWindow> frame;
};
