#include "app/Session.h"

Session::Session(Ui& ui_, ProgramFolders folders, Regional regional, const Clock* clock)
    : ui(ui_), Folders(std::move(folders)), RegionalSettings(std::move(regional)),
      Now(clock ? *clock : m_systemClock)
{
    Tables.SetUi(&ui);
}
