#pragma once

#include <optional>
#include <string>
#include <vector>

class CNote;
class CNoteList;
class IManagerHost;
class IDialogs;
class QWidget;

// The Note Manager's file commands: notes to a text file, to the printer or to a calendar file
// (all of them, the listed ones or the selected ones, as the user chooses), and a calendar
// file's notes taken in.
class CManagerFileCommands {
public:
    CManagerFileCommands(QWidget& owner, IManagerHost& tray, IDialogs& dialogs, CNoteList& list);

    void SaveText();
    // Prints the selected notes one by one; stops at the first that could not be printed.
    void Print();
    void ExportCalendar();
    // True when notes came in: the caller shows them. They are saved when the manager closes,
    // as everything else done in it.
    bool ImportCalendar();

private:
    static constexpr const char* kFilter = "Calendar Files (*.ics)|*.ics||";

    // The notes of the scope picked in "Save Options"; none when it was cancelled.
    std::optional<std::vector<const CNote*>> ChooseNotes();
    void Tell(bool ok, const std::string& message);

    QWidget& m_owner;
    IManagerHost& m_tray;
    IDialogs& m_dialogs;
    CNoteList& m_list;
};
