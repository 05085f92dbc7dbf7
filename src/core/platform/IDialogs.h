#pragma once

#include <optional>
#include <string>

// Modal boxes and file dialogs the core asks for; the GUI shows real ones, tests answer them.
class IDialogs {
public:
    // RetryCopyQuitCancel: "Try Again", "Save a Copy...", "Quit Without Saving" and "Keep
    // Running", answered AnswerRetry, AnswerSaveCopy, AnswerDiscard and AnswerCancel.
    enum Buttons { Ok, YesNo, OkCancel, RetryCopyQuitCancel };
    enum Icon { NoIcon, Information, Warning, Question, Stop };
    enum Answer {
        AnswerOk = 1,
        AnswerCancel = 2,
        AnswerRetry = 4,
        AnswerYes = 6,
        AnswerNo = 7,
        AnswerSaveCopy = 20,
        AnswerDiscard = 21
    };

    virtual ~IDialogs() = default;
    virtual Answer MessageBox(const std::string& text, const std::string& caption, Buttons buttons,
                              Icon icon) = 0;
    // filter uses the "Description (*.ext)|*.ext||" form.
    virtual std::optional<std::string> SaveFileName(const std::string& defaultExt,
                                                    const std::string& initialName,
                                                    const std::string& filter) = 0;
    virtual std::optional<std::string> OpenFileName(const std::string& defaultExt,
                                                    const std::string& initialName,
                                                    const std::string& filter) = 0;
};
