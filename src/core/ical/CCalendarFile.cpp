#include "core/ical/CCalendarFile.h"

#include "core/ical/CICalMapping.h"
#include "core/storage/CAtomicFile.h"

#include <filesystem>
#include <system_error>
#include <unordered_set>

std::vector<std::string> CCalendarFile::CategoryPath(const CNoteStore& store, int categoryId) {
    std::vector<std::string> path;
    const auto& categories = store.categories();
    // Bounded by the number of categories, so a loop of parents in a damaged file ends.
    for (size_t guard = 0; categoryId != 0 && guard <= categories.size(); ++guard) {
        const CTreeNode* node = nullptr;
        for (const auto& c : categories)
            if (c->m_id == categoryId && c->m_level >= 0) node = c.get();
        if (!node || node->m_level == 0) break;
        path.insert(path.begin(), node->m_name);
        categoryId = node->m_parentId;
    }
    return path;
}

int CCalendarFile::EnsureCategory(CNoteStore& store, const std::vector<std::string>& path) {
    if (store.categories().empty()) return 0;
    CTreeNode* parent = store.MutableCategories().front().get(); // the root
    for (const std::string& name : path) {
        CTreeNode* found = nullptr;
        for (const auto& c : store.MutableCategories())
            if (c.get() != parent && c->m_parentId == parent->m_id && c->m_name == name &&
                c->m_level == parent->m_level + 1)
                found = c.get();
        if (!found) {
            found = &store.NewCategory(*parent);
            CTreeNode::Rename(*found, name);
        }
        parent = found;
    }
    return parent->m_level == 0 ? 0 : parent->m_id;
}

bool CCalendarFile::Export(const std::vector<const CNote*>& notes, const CNoteStore& store,
                           const CNoteIdentity* identity, const std::string& path, int64_t now,
                           std::string* reason) {
    std::vector<CICalMapping::ExportItem> items;
    std::unordered_set<std::string> used;
    items.reserve(notes.size());
    for (const CNote* note : notes) {
        CICalMapping::ExportItem item;
        item.note = note;
        item.categoryPath = CategoryPath(store, note->m_category);
        item.identity.uid = note->m_uid;
        // A note not saved since it was made has no identity yet: it gets one for this file.
        if (item.identity.uid.empty() || !used.insert(item.identity.uid).second) {
            item.identity.uid = CNoteIdentity::NewUid();
            used.insert(item.identity.uid);
        }
        if (const CNoteIdentity::Entry* e = identity ? identity->Find(note->m_uid) : nullptr) {
            item.identity.sequence = e->sequence;
            item.identity.lastModified = e->modified;
        }
        items.push_back(std::move(item));
    }
    return CAtomicFile::Write(path, CICalMapping::Export(items, now), reason, 0644);
}

bool CCalendarFile::Import(const std::string& path, CNoteStore& store, const CNote& prototype,
                           std::string* summary, std::string* reason) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxFileBytes) {
        if (reason) *reason = "The file is too large for a calendar file.";
        return false;
    }
    std::string bytes;
    if (!CAtomicFile::ReadAll(path, bytes, reason)) return false;
    CICalMapping::Imported imported;
    if (!CICalMapping::Import(bytes, prototype, imported, reason)) return false;
    std::unordered_set<std::string> taken;
    for (const auto& n : store.notes())
        taken.insert(n->m_uid);
    for (CICalMapping::ImportItem& item : imported.items) {
        item.note->m_category = EnsureCategory(store, item.categoryPath);
        // A UID the store already has (the same file imported twice) would be two notes with
        // one identity: the second gets a new one.
        item.note->m_uid =
            item.uid.empty() || taken.count(item.uid) ? CNoteIdentity::NewUid() : item.uid;
        taken.insert(item.note->m_uid);
        store.AddNote(std::move(item.note));
    }
    if (summary) *summary = imported.Summary();
    return true;
}
