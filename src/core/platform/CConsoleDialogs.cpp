#include "core/platform/CConsoleDialogs.h"

#include <cstdio>

IDialogs::Answer CConsoleDialogs::MessageBox(const std::string& text, const std::string& caption,
                                             Buttons buttons, Icon) {
    std::fprintf(stderr, "jotterly: %s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    return buttons == YesNo ? AnswerNo : buttons == Ok ? AnswerOk : AnswerCancel;
}
