#include "support/Fakes.h"

IDialogs::Answer FakeDialogs::MessageBox(const std::string& text, const std::string& caption,
                                         Buttons buttons, Icon icon) {
    boxes.push_back({text, caption, buttons, icon});
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == YesNo ? AnswerYes : AnswerOk;
}

std::optional<std::string>
FakeDialogs::SaveFileName(const std::string&, const std::string& initialName, const std::string&) {
    proposedNames.push_back(initialName);
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

std::optional<std::string> FakeDialogs::OpenFileName(const std::string& a, const std::string& b,
                                                     const std::string& c) {
    return SaveFileName(a, b, c);
}

void FakeNoteWindow::Destroy() {
    destroyed = true;
    if (note) note->WindowGone(this);
    note = nullptr;
}

INoteWindow* FakeWindowFactory::OpenNoteWindow(CNote& note, int x, int y, bool) {
    windows.push_back(std::make_unique<FakeNoteWindow>(note));
    auto* w = windows.back().get();
    w->openedX = x;
    w->openedY = y;
    if (note.m_rectKnown) w->rect = note.m_windowRect;
    return w;
}

int FakeWindowFactory::OpenCount() const {
    int n = 0;
    for (const auto& w : windows)
        n += w->destroyed ? 0 : 1;
    return n;
}
