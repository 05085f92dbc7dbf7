#pragma once

#include "core/platform/IDialogs.h"

#include <QString>
#include <deque>

class QWidget;

// Real message boxes and file dialogs, each owned by the window that asked (CDialogOwner
// decides which). Tests queue the next answers and file names, which are then taken without
// showing anything (the box's text and caption are still recorded).
class QtDialogs : public IDialogs {
public:
    Answer MessageBox(const std::string& text, const std::string& caption, Buttons buttons,
                      Icon icon) override;
    std::optional<std::string> SaveFileName(const std::string& defaultExt,
                                            const std::string& initialName,
                                            const std::string& filter) override;
    std::optional<std::string> OpenFileName(const std::string& defaultExt,
                                            const std::string& initialName,
                                            const std::string& filter) override;

    // What a box's width leaves beside its caption for the title bar's icon and buttons.
    static constexpr int kCaptionRoom = 140;

    // Converts "Data Files (*.dat)|*.dat||" to Qt's "Data Files (*.dat)".
    static QString QtFilter(const std::string& filter);

    static std::deque<Answer> s_nextAnswers;
    static std::deque<std::optional<std::string>> s_nextFiles;
    static std::vector<std::pair<std::string, std::string>> s_shownBoxes; // text, caption
};
