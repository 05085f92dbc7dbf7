#pragma once

#include "core/model/CNote.h"
#include "core/model/CNoteStore.h"

#include <memory>
#include <string>

// Notes for tests, described by what matters to the test; the rest is a fresh note's.
class NoteBuilder {
public:
    explicit NoteBuilder(int type = CNote::OneTime) { m_note.m_type = type; }

    NoteBuilder& Title(std::string title) {
        m_note.m_title = std::move(title);
        return *this;
    }
    NoteBuilder& Text(std::string text) {
        m_note.m_text = std::move(text);
        return *this;
    }
    // Starts, recurs from and rings at t.
    NoteBuilder& At(const COleDateTime& t) {
        m_note.m_startTime = m_note.m_nextTime = m_note.m_baseTime = m_note.m_alarmTime = t;
        return *this;
    }
    NoteBuilder& Recurrence(int recurrence) {
        m_note.m_recurrence = recurrence;
        return *this;
    }
    NoteBuilder& ShowCountdown(int show = 1) {
        m_note.m_showCountdown = show;
        return *this;
    }
    // The due-soon flag as the clock stands when the note is built.
    NoteBuilder& DueSoonNow() {
        m_computeDueSoon = true;
        return *this;
    }

    std::unique_ptr<CNote> Build() const {
        auto note = std::make_unique<CNote>(m_note);
        if (m_computeDueSoon) note->m_dueSoon = note->IsDueSoon();
        return note;
    }
    CNote& AddTo(CNoteStore& store) const { return store.AddNote(Build()); }

private:
    CNote m_note;
    bool m_computeDueSoon = false;
};
