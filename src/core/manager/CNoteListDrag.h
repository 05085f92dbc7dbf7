#pragma once

// The note list's drag gestures: a drag that ends on the category tree files the selected
// notes in the category it ends on (with either button); a left drag that ends elsewhere posts
// them there. A right drag starts only while the tree is shown. The list feeds in its mouse events
// and carries out the returned effect. A button is held in every state but Idle, so the list keeps
// getting the pointer's events wherever it goes.
class CNoteListDrag {
public:
    enum class State { Idle, LeftPending, LeftDragging, RightPending, RightDragging };
    enum class Cursor { Unchanged, Arrow, One, Many };
    enum class Action { None, PostNotes, DropOnCategory, TrackCategory };

    struct Effect {
        Cursor cursor = Cursor::Unchanged;
        Action action = Action::None;
    };

    State GetState() const { return m_state; }
    bool IsDragging() const {
        return m_state == State::LeftDragging || m_state == State::RightDragging;
    }

    // The pointer left the drag threshold with the left button down.
    Effect LeftDragDetected();
    // A plain click (the button came up without a drag).
    Effect Clicked();
    Effect MouseMoved(int selectedCount);
    // onCategoryTree: released over the category tree.
    Effect LeftUp(bool onCategoryTree);
    // A right drag starts only while the category tree is shown.
    Effect RightDown(bool categoryTreeShown);
    Effect RightUp();

private:
    Effect Cancel();
    State m_state = State::Idle;
};
