#include "core/storage/CSideConfig.h"

#include "core/storage/CAtomicFile.h"

#include <sstream>

namespace {
std::string Trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}
} // namespace

std::string CSideConfig::KeyOf(const std::string& line) {
    const std::string text = Trimmed(line);
    const size_t eq = text.find('=');
    if (text.empty() || text[0] == '#' || eq == std::string::npos) return {};
    return Trimmed(text.substr(0, eq));
}

bool CSideConfig::Load(const std::string& path) {
    m_values.clear();
    m_lines.clear();
    std::string bytes;
    if (!CAtomicFile::Exists(path) || !CAtomicFile::ReadAll(path, bytes, nullptr)) return false;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        m_lines.push_back(line);
        const std::string key = KeyOf(line);
        if (!key.empty()) m_values[key] = Trimmed(line.substr(line.find('=') + 1));
    }
    return true;
}

bool CSideConfig::Save(const std::string& path, std::string* reason) const {
    // The file may be edited by hand: its comments, unknown lines and the order stay; only
    // the lines of changed keys are rewritten, and new keys are added at the end.
    std::string bytes = m_lines.empty() ? "# Jotterly settings beside Note.Dat\n" : "";
    std::map<std::string, std::string> left = m_values;
    for (const std::string& line : m_lines) {
        const std::string key = KeyOf(line);
        const auto it = m_values.find(key);
        const bool same = key.empty() || it == m_values.end() ||
                          Trimmed(line.substr(line.find('=') + 1)) == it->second;
        bytes += (same ? line : key + "=" + it->second) + "\n";
        left.erase(key);
    }
    for (const auto& [key, value] : left)
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
