#include "core/manager/CNoteListDrag.h"

CNoteListDrag::Effect CNoteListDrag::Cancel() {
    m_state = State::Idle;
    return {Cursor::Arrow, Action::None};
}

CNoteListDrag::Effect CNoteListDrag::LeftDragDetected() {
    if (m_state != State::Idle) return {};
    m_state = State::LeftPending;
    return {};
}

CNoteListDrag::Effect CNoteListDrag::Clicked() {
    if (m_state == State::LeftPending || m_state == State::LeftDragging) return Cancel();
    return {};
}

CNoteListDrag::Effect CNoteListDrag::MouseMoved(int selectedCount) {
    const Cursor cursor = selectedCount < 2 ? Cursor::One : Cursor::Many;
    switch (m_state) {
    case State::LeftPending:
    case State::RightPending:
        m_state = m_state == State::LeftPending ? State::LeftDragging : State::RightDragging;
        return {cursor, Action::TrackCategory};
    case State::LeftDragging:
    case State::RightDragging:
        return {Cursor::Unchanged, Action::TrackCategory};
    default:
        return {};
    }
}

CNoteListDrag::Effect CNoteListDrag::LeftUp(bool onCategoryTree) {
    if (m_state == State::LeftDragging) {
        m_state = State::Idle;
        // Posting there would put the notes behind the manager, under the tree they aimed at.
        return {Cursor::Arrow, onCategoryTree ? Action::DropOnCategory : Action::PostNotes};
    }
    // Released without a move: nothing to post.
    if (m_state == State::LeftPending) return Cancel();
    return {};
}

CNoteListDrag::Effect CNoteListDrag::RightDown(bool categoryTreeShown) {
    if (m_state == State::LeftPending || m_state == State::LeftDragging) return Cancel();
    if (m_state != State::Idle || !categoryTreeShown) return {};
    m_state = State::RightPending;
    return {};
}

CNoteListDrag::Effect CNoteListDrag::RightUp() {
    if (m_state == State::RightDragging) {
        m_state = State::Idle;
        return {Cursor::Arrow, Action::DropOnCategory};
    }
    if (m_state == State::RightPending) return Cancel();
    return {};
}
