#include "core/app/CTrayTip.h"

void CTrayTip::SetLine(Topic topic, const std::string& line) {
    if (line.empty())
        m_lines.erase(topic);
    else
        m_lines[topic] = line;
}

std::string CTrayTip::Text(const std::string& hint) const {
    std::string text = hint;
    for (const auto& [topic, line] : m_lines)
        text += "\n" + line;
    return text;
}
