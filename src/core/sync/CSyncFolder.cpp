#include "core/sync/CSyncFolder.h"

#include "core/ical/CCalendarFile.h"
#include "core/ical/CICalMapping.h"
#include "core/ical/CNoteIdentity.h"
#include "core/platform/Clock.h"
#include "core/storage/CAtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace {

// Hidden, so sync tools and calendar clients that read "*.ics" pass over a file being written.
constexpr char kTempPrefix[] = ".jotterly-";
constexpr char kTempSuffix[] = ".tmp";

struct FileInfo {
    std::string name;
    uint64_t size = 0;
    int64_t stamp = 0;
};

bool EndsWith(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    return s.size() >= n && strcasecmp(s.c_str() + s.size() - n, tail) == 0;
}

bool StatFile(const std::string& path, FileInfo& info) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    info.size = uint64_t(st.st_size);
    // The change time, which no tool sets (sync tools keep the mtime of the machine a file came
    // from), and the inode, which a file put in place by a rename brings anew.
    info.stamp =
        int64_t((uint64_t(st.st_ctim.tv_sec) * 1000000000 + uint64_t(st.st_ctim.tv_nsec)) * 31 +
                uint64_t(st.st_ino));
    return true;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The calendar files of the folder (hidden files and others passed over); false when the
// folder cannot be read.
bool ListFolder(const std::string& folder, std::vector<FileInfo>& files) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    while (dirent* e = ::readdir(dir)) {
        FileInfo info;
        info.name = e->d_name;
        // Conflict files count whatever their ending: the one a CalDAV sync leaves has none, so
        // that the sync tool does not take it for a second file of the same event.
        if (info.name[0] == '.' ||
            !(EndsWith(info.name, ".ics") || CSyncFolder::IsConflictFile(info.name)))
            continue;
        if (StatFile(folder + "/" + info.name, info)) files.push_back(std::move(info));
    }
    ::closedir(dir);
    std::sort(files.begin(), files.end(),
              [](const FileInfo& a, const FileInfo& b) { return a.name < b.name; });
    return true;
}

bool ReadBounded(const std::string& path, std::string& bytes, std::string* why) {
    FileInfo info;
    if (StatFile(path, info) && info.size > CSyncFolder::kMaxFileBytes) {
        *why = "larger than " + std::to_string(CSyncFolder::kMaxFileBytes >> 20) + " MB";
        return false;
    }
    return CAtomicFile::ReadAll(path, bytes, why) && bytes.size() <= CSyncFolder::kMaxFileBytes;
}

// Writes bytes to a new hidden file in folder, flushed to disk when flush is set.
bool WriteTemp(const std::string& folder, const std::string& bytes, bool flush, std::string& temp,
               std::string& failure) {
    temp = folder + "/" + kTempPrefix + "XXXXXX" + kTempSuffix;
    const int fd = ::mkstemps(temp.data(), int(sizeof kTempSuffix - 1));
    bool ok = fd >= 0;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += size_t(n);
    }
    if (ok && flush) ok = ::fsync(fd) == 0;
    if (!ok) failure = std::strerror(errno);
    if (fd >= 0 && ::close(fd) != 0 && ok) {
        ok = false;
        failure = std::strerror(errno);
    }
    if (!ok && fd >= 0) ::unlink(temp.c_str());
    return ok;
}

// What a conflict copy is called after: the title, or for a note without one the start of its
// text, so the copy says what it holds.
std::string NameOf(const CNote& note) {
    if (!note.m_title.empty()) return note.m_title;
    std::string line = note.m_text.substr(0, note.m_text.find_first_of("\r\n"));
    if (line.size() > 60) {
        size_t cut = 60;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut; // not inside a character
        line = line.substr(0, cut) + "...";
    }
    return line;
}

bool UsableUid(const std::string& uid) {
    if (uid.empty() || uid.size() > 255) return false;
    return std::none_of(uid.begin(), uid.end(),
                        [](unsigned char c) { return c < 0x21 || c == 0x7F; });
}

std::string Hex(uint64_t v) {
    char buf[20];
    std::snprintf(buf, sizeof buf, "%016" PRIx64, v);
    return buf;
}

int64_t Seconds(const COleDateTime& t) {
    return t.IsValid() ? std::llround(t.Linear() * 86400.0) : INT64_MIN;
}

// What a note says, without when it rings next: the same on every machine that has it.
uint64_t ContentKey(const CNote& n, const std::vector<std::string>& path) {
    std::string key;
    key.reserve(n.m_title.size() + n.m_text.size() + 128);
    for (int64_t v :
         {int64_t(n.m_type), int64_t(n.m_recurrence), int64_t(n.m_indexDay), int64_t(n.m_priorDays),
          Seconds(n.m_startTime), int64_t(n.m_backColor), int64_t(n.m_textColor),
          int64_t(n.m_borderStyle), int64_t(n.m_showCountdown), int64_t(n.m_countdownFormat)})
        key.append(reinterpret_cast<const char*>(&v), sizeof v);
    for (const std::string* s : {&n.m_title, &n.m_text}) {
        key += std::to_string(s->size()) + ":" + *s;
    }
    for (const std::string& name : path)
        key += std::to_string(name.size()) + "/" + name;
    return CNoteIdentity::BytesHash(key);
}

// Replaces what the note says with what another machine wrote; where its window stands here
// stays as it is.
void Replace(CNote& local, const CNote& incoming, int category) {
    CNote kept = local;
    local = incoming;
    local.m_windowRect = kept.m_windowRect;
    local.m_firstRect = kept.m_firstRect;
    local.m_rectKnown = kept.m_rectKnown;
    local.m_posted = kept.m_posted;
    local.m_topMost = kept.m_topMost;
    local.m_uid = kept.m_uid;
    local.m_category = category;
}

// Takes a snooze or an acknowledgement made elsewhere. True when the alarm moved.
bool TakeAlarm(CNote& local, const CICalMapping::ImportItem& incoming) {
    if (local.m_type == CNote::Memo) return false;
    const COleDateTime before = local.m_alarmTime;
    if (incoming.snoozed) {
        if (Seconds(incoming.note->m_alarmTime) != Seconds(local.m_alarmTime))
            local.m_alarmTime = incoming.note->m_alarmTime;
    } else if (incoming.acknowledged && local.m_alarmTime.IsValid() &&
               incoming.acknowledged >= CICalMapping::UtcSeconds(local.m_alarmTime)) {
        if (local.m_type == CNote::Every)
            local.Recompute(); // what OK does here: on to the next occurrence
        else
            local.m_alarmTime.SetStatus(COleDateTime::invalid); // done with, the note stays
    }
    if (local.m_alarmTime == before) return false;
    local.m_dueSoon = local.IsDueSoon();
    return true;
}

} // namespace

CSyncFolder::CSyncFolder(std::string folder, std::string dataPath)
    : m_folder(std::move(folder)), m_dataPath(std::move(dataPath)) {
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
}

void CSyncFolder::Open() {
    m_state = CSyncState::Read(CSyncState::PathFor(m_dataPath), m_folder);
    DIR* dir = ::opendir(m_folder.c_str());
    if (!dir) return;
    while (dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.rfind(kTempPrefix, 0) == 0 && EndsWith(name, kTempSuffix))
            ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}

uint64_t CSyncFolder::NoteHash(const CNote& note, const std::vector<std::string>& categoryPath) {
    const int64_t alarm = Seconds(note.m_alarmTime);
    return ContentKey(note, categoryPath) ^ (uint64_t(alarm) * 0x9E3779B97F4A7C15ULL);
}

int64_t CSyncFolder::AlarmSeconds(const CNote& note) {
    return note.m_type == CNote::Memo ? 0 : CICalMapping::UtcSeconds(note.m_alarmTime);
}

bool CSyncFolder::WriteNewFile(const std::string& folder, const std::string& name,
                               const std::string& bytes, std::string* reason) {
    std::string temp, failure;
    if (!WriteTemp(folder, bytes, true, temp, failure)) {
        *reason = failure;
        return false;
    }
    const std::string target = folder + "/" + name;
    // link() never replaces a file, so two writers cannot take the same name.
    const bool ok = ::link(temp.c_str(), target.c_str()) == 0;
    const int err = errno;
    if (!ok) *reason = std::strerror(err);
    ::unlink(temp.c_str());
    errno = err; // tells the caller whether the name was taken
    if (ok) {
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
    return ok;
}

bool CSyncFolder::IsConflictFile(const std::string& name) {
    return name.find(".sync-conflict-") != std::string::npos ||
           name.find(" (conflicted copy ") != std::string::npos;
}

std::string CSyncFolder::FileNameFor(const std::string& uid) {
    const bool plain = !uid.empty() && uid[0] != '.' && uid.size() <= 200 &&
                       std::all_of(uid.begin(), uid.end(), [](unsigned char c) {
                           return std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '@';
                       });
    return (plain ? uid : "note-" + Hex(CNoteIdentity::BytesHash(uid))) + ".ics";
}

bool CSyncFolder::KeepState(std::string* reason) {
    return CSyncState::Write(CSyncState::PathFor(m_dataPath), m_state, m_folder, reason);
}

bool CSyncFolder::Mirror(const CNoteStore& store, int64_t now, std::string* reason) {
    m_unsaved = false; // run after a save: the notes it writes are in the data file
    if (!IsFolder(m_folder)) {
        if (reason) *reason = "The sync folder \"" + m_folder + "\" cannot be found.";
        return false;
    }
    const std::string zone = CICalMapping::SystemZoneName();
    struct Pending {
        std::string temp, uid;
        CSyncState::Entry entry;
    };
    std::vector<Pending> pending;
    std::unordered_set<std::string> present;
    std::string failure;
    for (const auto& note : store.notes()) {
        const std::string& uid = note->m_uid;
        if (!UsableUid(uid) || !present.insert(uid).second) continue;
        const std::vector<std::string> path = CCalendarFile::CategoryPath(store, note->m_category);
        const uint64_t hash = NoteHash(*note, path);
        auto known = m_state.find(uid);
        if (known != m_state.end() && known->second.noteHash == hash) continue;
        CSyncState::Entry entry;
        if (known != m_state.end()) {
            entry = known->second;
            // Changed elsewhere since it was read: the next rescan keeps both versions.
            FileInfo now_;
            std::string bytes, why;
            if (StatFile(m_folder + "/" + entry.name, now_) &&
                (now_.size != entry.size || now_.stamp != entry.stamp) &&
                (!ReadBounded(m_folder + "/" + entry.name, bytes, &why) ||
                 CNoteIdentity::BytesHash(bytes) != entry.fileHash))
                continue;
        } else {
            entry.name = FileNameFor(uid);
        }
        const int64_t alarm = AlarmSeconds(*note);
        // The alarm moved on after it was due: acknowledged (or snoozed) here, now.
        if (entry.alarm && entry.alarm <= now && alarm != entry.alarm) entry.acknowledged = now;
        entry.alarm = alarm;
        entry.noteHash = hash;
        CICalMapping::ExportItem item;
        item.note = note.get();
        item.categoryPath = path;
        item.identity.uid = uid;
        item.identity.lastModified = now;
        item.identity.acknowledged = entry.acknowledged;
        const std::string bytes = CICalMapping::Export({item}, now, zone);
        entry.fileHash = CNoteIdentity::BytesHash(bytes);

        std::string temp;
        if (!WriteTemp(m_folder, bytes, false, temp, failure)) break;
        pending.push_back({std::move(temp), uid, std::move(entry)});
    }

    const int dir = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // One flush for all the new files before any takes the place of an old one.
    if (dir >= 0 && !pending.empty()) ::syncfs(dir);
    for (Pending& p : pending) {
        const std::string target = m_folder + "/" + p.entry.name;
        if (!failure.empty() || ::rename(p.temp.c_str(), target.c_str()) != 0) {
            if (failure.empty()) failure = std::strerror(errno);
            ::unlink(p.temp.c_str());
            continue;
        }
        FileInfo info;
        if (StatFile(target, info)) {
            p.entry.size = info.size;
            p.entry.stamp = info.stamp;
        }
        m_state[p.uid] = std::move(p.entry);
    }

    // Notes deleted here: their files go, unless another machine changed them meanwhile (the
    // next rescan brings such a note back).
    for (auto it = m_state.begin(); it != m_state.end();) {
        if (present.count(it->first)) {
            ++it;
            continue;
        }
        const std::string path = m_folder + "/" + it->second.name;
        FileInfo info;
        std::string bytes, why;
        if (!StatFile(path, info)) {
            it = m_state.erase(it);
        } else if ((info.size == it->second.size && info.stamp == it->second.stamp) ||
                   (ReadBounded(path, bytes, &why) &&
                    CNoteIdentity::BytesHash(bytes) == it->second.fileHash)) {
            if (::unlink(path.c_str()) == 0 || errno == ENOENT)
                it = m_state.erase(it);
            else
                ++it;
        } else {
            ++it;
        }
    }
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    std::string stateWhy;
    const bool kept = KeepState(&stateWhy);
    if (reason)
        *reason = !failure.empty() ? "A note could not be written to the sync folder \"" +
                                         m_folder + "\": " + failure
                                   : stateWhy;
    return failure.empty() && kept;
}

CSyncFolder::Report CSyncFolder::Rescan(CNoteStore& store, const CNote& prototype, int64_t now,
                                        const Remover& remove) {
    Report report;
    std::vector<FileInfo> files;
    if (!ListFolder(m_folder, files)) {
        report.problem = "The sync folder \"" + m_folder +
                         "\" cannot be read; nothing was taken from it or removed.";
        return report;
    }
    std::unordered_map<std::string, CNote*> byUid;
    for (const auto& note : store.notes())
        if (!note->m_uid.empty()) byUid.emplace(note->m_uid, note.get());
    std::unordered_map<std::string, std::string> uidByName;
    for (const auto& [uid, e] : m_state)
        uidByName.emplace(e.name, uid);

    auto parse = [&](const FileInfo& file, const std::string& bytes, CICalMapping::Imported& out) {
        std::string error;
        if (!CICalMapping::Import(bytes, prototype, out, &error)) {
            report.unreadable.push_back(file.name + ": " + error);
            return false;
        }
        return true;
    };
    auto addNote = [&](std::unique_ptr<CNote> note, const std::vector<std::string>& path,
                       std::string uid) {
        note->m_category = CCalendarFile::EnsureCategory(store, path);
        note->m_uid = std::move(uid);
        CNote& added = store.AddNote(std::move(note));
        byUid[added.m_uid] = &added;
        return &added;
    };
    auto addCopy = [&](CICalMapping::ImportItem& item, const std::string& uid) {
        if (byUid.count(uid) || m_state.count(uid)) return; // taken in already
        item.note->m_title = kConflictTitle + NameOf(*item.note);
        addNote(std::move(item.note), item.categoryPath, uid);
        ++report.conflicts;
    };

    std::unordered_set<std::string> listed, seenUids;
    for (const FileInfo& file : files) {
        listed.insert(file.name);
        const std::string filePath = m_folder + "/" + file.name;
        std::string bytes, why;
        if (IsConflictFile(file.name)) {
            if (!ReadBounded(filePath, bytes, &why)) {
                report.unreadable.push_back(file.name + ": " + why);
                continue;
            }
            CICalMapping::Imported in;
            if (!parse(file, bytes, in)) continue;
            const uint64_t base = CNoteIdentity::BytesHash(bytes);
            bool allKept = !in.items.empty();
            for (size_t i = 0; i < in.items.size() && i < 1000; ++i) {
                const std::string uid = "conflict-" + Hex(base + i) + "@jotterly";
                allKept = allKept && m_state.count(uid);
                addCopy(in.items[i], uid);
            }
            // Every copy is in the data file and the folder: the tool's file has done its part.
            if (allKept) ::unlink(filePath.c_str());
            continue;
        }
        auto named = uidByName.find(file.name);
        CSyncState::Entry* entry = nullptr;
        if (named != uidByName.end()) entry = &m_state[named->second];
        if (entry && entry->size == file.size && entry->stamp == file.stamp) {
            seenUids.insert(named->second);
            continue;
        }
        if (!ReadBounded(filePath, bytes, &why)) {
            report.unreadable.push_back(file.name + ": " + why);
            if (entry) seenUids.insert(named->second); // not gone: left alone
            continue;
        }
        const uint64_t hash = CNoteIdentity::BytesHash(bytes);
        if (entry && entry->fileHash == hash) {
            entry->size = file.size;
            entry->stamp = file.stamp;
            seenUids.insert(named->second);
            continue;
        }
        CICalMapping::Imported in;
        if (!parse(file, bytes, in)) {
            if (entry) seenUids.insert(named->second);
            continue;
        }
        if (in.items.size() != 1 || !UsableUid(in.items[0].uid)) {
            report.unreadable.push_back(file.name + ": " +
                                        (in.items.size() != 1
                                             ? "holds " + std::to_string(in.items.size()) + " notes"
                                             : std::string("has no usable UID")));
            if (entry) seenUids.insert(named->second);
            continue;
        }
        CICalMapping::ImportItem& item = in.items[0];
        const std::string uid = item.uid;
        if (!seenUids.insert(uid).second) {
            report.unreadable.push_back(file.name + ": another file has the same UID");
            continue;
        }
        CSyncState::Entry& e = m_state[uid];
        const bool known = !e.name.empty();
        if (!known || e.name != file.name) {
            if (known && e.name != file.name) uidByName.erase(e.name);
            e.name = file.name;
        }
        e.fileHash = hash;
        e.size = file.size;
        e.stamp = file.stamp;
        e.acknowledged = std::max(e.acknowledged, item.acknowledged);
        auto local = byUid.find(uid);
        if (local == byUid.end()) {
            CNote* added = addNote(std::move(item.note), item.categoryPath, uid);
            e.noteHash = NoteHash(*added, item.categoryPath);
            e.alarm = AlarmSeconds(*added);
            ++report.added;
            continue;
        }
        CNote& note = *local->second;
        const std::vector<std::string> path = CCalendarFile::CategoryPath(store, note.m_category);
        const bool changedHere = !known || NoteHash(note, path) != e.noteHash;
        const bool wasDue = note.IsAlarmPastAt(Clock::Now());
        if (ContentKey(*item.note, item.categoryPath) == ContentKey(note, path)) {
            if (TakeAlarm(note, item)) {
                ++report.changed;
                report.updated.push_back(&note);
                if (wasDue) report.acknowledged.push_back(&note);
            }
            // A change made here is still to be written (the next mirror does it).
            if (!changedHere) e.noteHash = NoteHash(note, path);
        } else if (!changedHere) {
            Replace(note, *item.note, CCalendarFile::EnsureCategory(store, item.categoryPath));
            TakeAlarm(note, item);
            e.noteHash = NoteHash(note, item.categoryPath);
            ++report.changed;
            report.updated.push_back(&note);
            if (wasDue && !note.IsAlarmPastAt(Clock::Now())) report.acknowledged.push_back(&note);
        } else {
            // Changed on both sides: the other version becomes a note of its own; this one is
            // written over the file by the next mirror.
            addCopy(item, "conflict-" + Hex(hash) + "@jotterly");
            if (!known) e.noteHash = 0;
        }
        e.alarm = AlarmSeconds(note);
    }

    // Files that are gone remove their notes, unless the note changed here since, or most of
    // the folder went at once (an unmounted or emptied folder).
    std::vector<std::string> gone, dropped;
    const size_t withFiles = m_state.size();
    for (const auto& [uid, e] : m_state) {
        if (seenUids.count(uid) || listed.count(e.name)) continue;
        auto local = byUid.find(uid);
        if (local != byUid.end() &&
            NoteHash(*local->second,
                     CCalendarFile::CategoryPath(store, local->second->m_category)) == e.noteHash)
            gone.push_back(uid);
        else
            dropped.push_back(uid); // gone here too, or changed here: written again as new
    }
    for (const std::string& uid : dropped)
        m_state.erase(uid);
    if (int(gone.size()) >= kMassRemoval && gone.size() * 2 > withFiles) {
        report.problem = std::to_string(gone.size()) + " of " + std::to_string(withFiles) +
                         " note files disappeared from the sync folder \"" + m_folder +
                         "\" at once. No note was removed; their files are written again.";
        for (const std::string& uid : gone)
            m_state.erase(uid);
    } else {
        for (const std::string& uid : gone) {
            m_state.erase(uid);
            remove(*byUid[uid]);
            byUid.erase(uid);
            ++report.removed;
        }
    }
    if (report.StoreChanged()) {
        m_unsaved = true;
    } else if (!m_unsaved) {
        std::string why;
        if (!Mirror(store, now, &why) && report.problem.empty()) report.problem = why;
    }
    return report;
}
