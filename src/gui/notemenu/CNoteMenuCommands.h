#pragma once

#include <QObject>
#include <QPointer>

class CNoteMenu;
class CStickyNoteDlg;
class INoteMenuHost;
class QPoint;

// Opens a note window's menu and carries out what was chosen: schemes, the note's own colours,
// font and border style, the countdown and its units, Delete, Save To File, Print and Time
// Setting. Lives as a child of its window.
class CNoteMenuCommands : public QObject {
    Q_OBJECT
public:
    explicit CNoteMenuCommands(INoteMenuHost& window);
    // Gives a newly opened note window its menu, opened by the window's menu request.
    static void AttachTo(CStickyNoteDlg& window);

    // Shows the menu at a screen point unless the window is busy; runs the chosen command.
    void Open(const QPoint& globalPos);
    void Run(int id);

private:
    void ChooseColor(bool back);
    void ChooseFont();
    void SetBorderStyle(int style);
    void ToggleCountdown();
    void ToggleFormatBit(int bit);
    void SaveToFile();
    void Print();
    void TimeSetting();

    INoteMenuHost& m_window;
};
