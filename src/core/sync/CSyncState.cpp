#include "core/sync/CSyncState.h"

#include "core/storage/CAtomicFile.h"

#include <cinttypes>
#include <cstdio>
#include <vector>

namespace {

constexpr const char* kMagic = "jotterly-sync 1";

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    size_t from = 0;
    for (size_t at; (at = line.find('\t', from)) != std::string::npos; from = at + 1)
        out.push_back(line.substr(from, at - from));
    out.push_back(line.substr(from));
    return out;
}

bool Number(const std::string& s, int base, uint64_t& out) {
    if (s.empty() || s.size() > 20) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtoull(s.c_str(), &end, base);
    return !*end && !errno && s[0] != '-';
}

bool Signed(const std::string& s, int64_t& out) {
    if (s.empty() || s.size() > 20) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtoll(s.c_str(), &end, 10);
    return !*end && !errno;
}

// A name the folder may hold: no path, no hidden file.
bool PlainName(const std::string& name) {
    return !name.empty() && name.size() <= 255 && name[0] != '.' &&
           name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

} // namespace

CSyncState::Entries CSyncState::Read(const std::string& path, const std::string& folder) {
    std::string bytes;
    if (!CAtomicFile::Exists(path) || !CAtomicFile::ReadAll(path, bytes, nullptr)) return {};
    return Parse(bytes, folder);
}

CSyncState::Entries CSyncState::Parse(const std::string& bytes, const std::string& folder) {
    if (bytes.size() > kMaxFileBytes) return {};
    Entries entries;
    size_t from = 0;
    int lineNo = 0;
    bool ended = false;
    while (from < bytes.size() && !ended) {
        size_t end = bytes.find('\n', from);
        if (end == std::string::npos) return {}; // cut short
        const std::string line = bytes.substr(from, end - from);
        from = end + 1;
        ++lineNo;
        if (lineNo == 1) {
            if (line != kMagic) return {};
            continue;
        }
        if (lineNo == 2) {
            if (line != "folder\t" + folder) return {};
            continue;
        }
        if (line == "end") {
            ended = true;
            break;
        }
        const std::vector<std::string> f = Fields(line);
        Entry e;
        uint64_t noteHash = 0;
        if (f.size() != 8 || f[0].empty() || f[0].size() > 255 || !PlainName(f[1]) ||
            !Number(f[2], 16, e.fileHash) || !Number(f[3], 16, noteHash) ||
            !Number(f[4], 10, e.size) || !Signed(f[5], e.stamp) || !Signed(f[6], e.alarm) ||
            !Signed(f[7], e.acknowledged))
            return {};
        e.noteHash = noteHash;
        e.name = f[1];
        entries[f[0]] = std::move(e);
    }
    return ended ? entries : Entries{};
}

std::string CSyncState::Format(const Entries& entries, const std::string& folder) {
    std::string out = std::string(kMagic) + "\nfolder\t" + folder + "\n";
    out.reserve(out.size() + entries.size() * 128);
    char numbers[160];
    for (const auto& [uid, e] : entries) {
        std::snprintf(numbers, sizeof numbers,
                      "\t%" PRIx64 "\t%" PRIx64 "\t%" PRIu64 "\t%" PRId64 "\t%" PRId64 "\t%" PRId64
                      "\n",
                      e.fileHash, e.noteHash, e.size, e.stamp, e.alarm, e.acknowledged);
        out += uid + "\t" + e.name + numbers;
    }
    return out + "end\n";
}

bool CSyncState::Write(const std::string& path, const Entries& entries, const std::string& folder,
                       std::string* reason) {
    return CAtomicFile::Write(path, Format(entries, folder), reason);
}
