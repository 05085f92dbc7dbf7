#pragma once

class INoteWindow;

// A note's link to its open desktop window. Only the note sets and clears it (see CNote), and
// it is no part of the note's value: a copy of a note has no window, and taking another note's
// contents keeps the window this note has, so two notes never point to one window.
class CNoteWindowLink {
public:
    CNoteWindowLink() = default;
    CNoteWindowLink(const CNoteWindowLink&) {}
    CNoteWindowLink& operator=(const CNoteWindowLink&) { return *this; }

    INoteWindow* Get() const { return m_window; }

private:
    friend class CNote;
    INoteWindow* m_window = nullptr;
};
