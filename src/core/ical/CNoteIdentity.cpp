#include "core/ical/CNoteIdentity.h"

#include "core/storage/CAtomicFile.h"

#include <cinttypes>
#include <cstdio>
#include <random>
#include <sstream>
#include <unordered_set>
#include <vector>

namespace {

constexpr const char* kMagic = "jotterly-ids 1";

uint64_t Fnv(uint64_t h, const void* data, size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i)
        h = (h ^ p[i]) * 0x100000001B3ULL;
    return h;
}

template <typename T> uint64_t FnvValue(uint64_t h, const T& v) {
    return Fnv(h, &v, sizeof v);
}

uint64_t FnvText(uint64_t h, const std::string& s) {
    h = FnvValue(h, s.size());
    return Fnv(h, s.data(), s.size());
}

constexpr uint64_t kFnvBasis = 0xCBF29CE484222325ULL;

struct SideFile {
    uint64_t dataSize = 0, dataHash = 0;
    std::vector<CNoteIdentity::Entry> entries;
};

// A side file that is missing, cut or garbled reads as no entries: identities are then made
// again, which only costs their stability.
bool ReadSide(const std::string& path, SideFile& side) {
    std::string bytes;
    if (!CAtomicFile::Exists(path) || !CAtomicFile::ReadAll(path, bytes, nullptr) ||
        bytes.size() > CNoteIdentity::kMaxFileBytes)
        return false;
    std::istringstream in(bytes);
    std::string line;
    if (!std::getline(in, line) || line != kMagic) return false;
    if (!std::getline(in, line) ||
        std::sscanf(line.c_str(), "data %" SCNu64 " %" SCNx64, &side.dataSize, &side.dataHash) != 2)
        return false;
    bool ended = false;
    while (std::getline(in, line)) {
        if (line == "end") {
            ended = true;
            break;
        }
        CNoteIdentity::Entry e;
        const size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1),
                     t3 = line.find('\t', t2 + 1);
        if (t1 == 0 || t1 == std::string::npos || t2 == std::string::npos ||
            t3 == std::string::npos)
            return false;
        e.uid = line.substr(0, t1);
        const size_t t4 = line.find('\t', t3 + 1);
        unsigned long long hash = 0;
        long long modified = 0;
        int sequence = 0;
        const std::string numbers =
            line.substr(t1 + 1, (t4 == std::string::npos ? line.size() : t4) - t1 - 1);
        char tail = 0;
        if (std::sscanf(numbers.c_str(), "%llx\t%d\t%lld%c", &hash, &sequence, &modified, &tail) !=
            3)
            return false;
        e.contentHash = hash;
        e.sequence = sequence;
        e.modified = modified;
        if (t4 != std::string::npos) e.extra = line.substr(t4 + 1);
        side.entries.push_back(std::move(e));
    }
    if (!ended) side.entries.clear(); // cut short: even its last whole-looking line may be cut
    return ended;
}

bool UsableUid(const std::string& uid) {
    if (uid.empty() || uid.size() > 255) return false;
    for (unsigned char c : uid)
        if (c < 0x21 || c == 0x7F) return false;
    return true;
}

} // namespace

uint64_t CNoteIdentity::ContentHash(const CNote& n) {
    uint64_t h = kFnvBasis;
    for (int v : {n.m_type, n.m_recurrence, n.m_indexDay, n.m_priorDays, n.m_category})
        h = FnvValue(h, v);
    h = FnvValue(h, n.m_startTime.m_dt);
    h = FnvValue(h, int(n.m_startTime.m_status));
    h = FnvText(h, n.m_title);
    return FnvText(h, n.m_text);
}

uint64_t CNoteIdentity::BytesHash(const std::string& bytes) {
    return Fnv(kFnvBasis, bytes.data(), bytes.size());
}

std::string CNoteIdentity::NewUid() {
    static std::random_device device;
    static std::mt19937_64 rng((uint64_t(device()) << 32) ^ device());
    const uint64_t a = rng(), b = rng();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%08x-%04x-4%03x-%04x-%012" PRIx64 "@jotterly",
                  uint32_t(a >> 32), unsigned(a >> 16 & 0xFFFF), unsigned(a & 0xFFF),
                  unsigned(0x8000 | (b >> 48 & 0x3FFF)), uint64_t(b & 0xFFFFFFFFFFFFULL));
    return buf;
}

void CNoteIdentity::EnsureUnique(const CNoteStore::Notes& notes) {
    std::unordered_set<std::string> seen;
    seen.reserve(notes.size());
    for (const auto& note : notes)
        if (!UsableUid(note->m_uid) || !seen.insert(note->m_uid).second) {
            note->m_uid = NewUid();
            seen.insert(note->m_uid);
        }
}

const CNoteIdentity::Entry* CNoteIdentity::Find(const std::string& uid) const {
    auto it = m_entries.find(uid);
    return it == m_entries.end() ? nullptr : &it->second;
}

int CNoteIdentity::AfterLoad(const std::string& dataPath, const std::string& dataBytes,
                             const CNoteStore::Notes& notes, int64_t now) {
    m_entries.clear();
    SideFile side;
    const bool read = ReadSide(PathFor(dataPath), side);
    int matchedByContent = 0;
    if (read && side.dataSize == dataBytes.size() && side.dataHash == BytesHash(dataBytes) &&
        side.entries.size() == notes.size()) {
        for (size_t i = 0; i < notes.size(); ++i)
            notes[i]->m_uid = side.entries[i].uid;
    } else {
        // The data file was written by someone else since: the same content, the same note.
        std::unordered_multimap<uint64_t, size_t> byHash;
        for (size_t i = 0; i < side.entries.size(); ++i)
            byHash.emplace(side.entries[i].contentHash, i);
        for (const auto& note : notes) {
            note->m_uid.clear();
            auto it = byHash.find(ContentHash(*note));
            if (it == byHash.end()) continue;
            note->m_uid = side.entries[it->second].uid;
            byHash.erase(it);
            ++matchedByContent;
        }
    }
    for (Entry& e : side.entries)
        m_entries.emplace(e.uid, std::move(e));
    EnsureUnique(notes);
    for (const auto& note : notes) {
        Entry& e = m_entries[note->m_uid];
        if (e.uid.empty()) e = Entry{note->m_uid, ContentHash(*note), 0, now, {}};
    }
    return matchedByContent;
}

bool CNoteIdentity::AfterSave(const std::string& dataPath, const std::string& dataBytes,
                              const CNoteStore::Notes& notes, int64_t now, std::string* reason) {
    EnsureUnique(notes);
    std::unordered_map<std::string, Entry> next;
    next.reserve(notes.size());
    char header[96];
    std::snprintf(header, sizeof header, "%s\ndata %zu %" PRIx64 "\n", kMagic, dataBytes.size(),
                  BytesHash(dataBytes));
    std::string out = header;
    out.reserve(out.size() + notes.size() * 96);
    for (const auto& note : notes) {
        Entry e;
        auto old = m_entries.find(note->m_uid);
        const uint64_t hash = ContentHash(*note);
        if (old != m_entries.end()) {
            e = old->second;
            if (e.contentHash != hash) {
                ++e.sequence;
                e.modified = now;
            }
        } else {
            e.uid = note->m_uid;
            e.modified = now;
        }
        e.contentHash = hash;
        char numbers[80];
        std::snprintf(numbers, sizeof numbers, "\t%" PRIx64 "\t%d\t%lld", e.contentHash, e.sequence,
                      static_cast<long long>(e.modified));
        out += e.uid;
        out += numbers;
        if (!e.extra.empty()) (out += '\t') += e.extra;
        out += '\n';
        next.emplace(e.uid, std::move(e));
    }
    out += "end\n";
    m_entries = std::move(next);
    return CAtomicFile::Write(PathFor(dataPath), out, reason);
}
