#pragma once

#include "core/model/CMailAccount.h"
#include "core/model/CNote.h"
#include "core/model/CTreeNode.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

class INoteWindow;

// The owner of every note, category and mail account. A note leaves only through RemoveNote,
// which closes its window first, so no window is ever left holding a freed note.
class CNoteStore {
public:
    using Notes = std::vector<std::unique_ptr<CNote>>;
    using Categories = CTreeNode::List;
    using Accounts = std::vector<std::unique_ptr<CMailAccount>>;

    CNoteStore() = default;
    CNoteStore(CNoteStore&&) = default;
    CNoteStore& operator=(CNoteStore&&) = default;
    ~CNoteStore();

    const Notes& notes() const { return m_notes; }
    const Categories& categories() const { return m_categories; }
    // For the category tree, which adds, renames and deletes categories in place.
    Categories& MutableCategories() { return m_categories; }
    const Accounts& accounts() const { return m_accounts; }

    CNote& AddNote(std::unique_ptr<CNote> note);
    // Closes the note's window, then frees the note.
    void RemoveNote(CNote& note);
    // The same for many notes in one pass over the array (a note not held here is ignored).
    void RemoveNotes(const std::unordered_set<const CNote*>& notes);
    // The note shown in that window, or null.
    CNote* FindByWindow(const INoteWindow* window) const;
    // The note's position in the note array, or -1.
    int IndexOf(const CNote& note) const;
    void ReserveNotes(size_t count) { m_notes.reserve(count); }
    // Lets a sort put the same notes in another order (nothing may be added or dropped).
    void ReorderNotes(const std::function<void(Notes&)>& reorder) { reorder(m_notes); }

    CTreeNode& AddCategory(std::unique_ptr<CTreeNode> category);
    // A child named "New" under parent; see CTreeNode::New.
    CTreeNode& NewCategory(CTreeNode& parent) { return *CTreeNode::New(m_categories, parent); }
    // Removes the category and its descendants; see CTreeNode::Delete.
    int DeleteCategory(int id) { return CTreeNode::Delete(m_categories, id); }
    CMailAccount& AddAccount(std::unique_ptr<CMailAccount> account);
    void RemoveAccount(size_t index);

    // Closes every note window, then frees all notes, categories and accounts.
    void Clear();

private:
    Notes m_notes;
    Categories m_categories;
    Accounts m_accounts;
};
