#pragma once

#include "core/platform/IDialogs.h"

// Boxes nobody will answer (the program ends on a signal): the text goes to stderr and the
// default answer comes back at once.
class CConsoleDialogs : public IDialogs {
public:
    Answer MessageBox(const std::string& text, const std::string& caption, Buttons buttons,
                      Icon icon) override;
    std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return std::nullopt;
    }
};
