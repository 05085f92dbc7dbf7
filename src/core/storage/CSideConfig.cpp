#include "storage/CSideConfig.h"

#include "storage/CAtomicFile.h"

#include <sstream>

namespace {
std::string Trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}
} // namespace

bool CSideConfig::Load(const std::string& path) {
    m_values.clear();
    std::string bytes;
    if (!CAtomicFile::Exists(path) || !CAtomicFile::ReadAll(path, bytes, nullptr)) return false;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        line = Trimmed(line);
        const size_t eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
        const std::string key = Trimmed(line.substr(0, eq));
        if (!key.empty()) m_values[key] = Trimmed(line.substr(eq + 1));
    }
    return true;
}

bool CSideConfig::Save(const std::string& path, std::string* reason) const {
    std::string bytes = "# Jotterly settings beside Note.Dat\n";
    for (const auto& [key, value] : m_values)
        bytes += key + "=" + value + "\n";
    return CAtomicFile::Write(path, bytes, reason);
}

std::string CSideConfig::Get(const std::string& key, const std::string& fallback) const {
    const auto it = m_values.find(key);
    return it == m_values.end() ? fallback : it->second;
}

void CSideConfig::Set(const std::string& key, const std::string& value) {
    // One line per key: a line break in a value would make a second key.
    std::string clean;
    for (char c : value)
        if (c != '\n' && c != '\r') clean.push_back(c);
    m_values[Trimmed(key)] = Trimmed(clean);
}
