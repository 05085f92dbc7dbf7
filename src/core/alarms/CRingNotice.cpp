#include "core/alarms/CRingNotice.h"

#include "core/model/CNote.h"

#include <utility>

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Cuts at most max bytes without splitting a UTF-8 sequence.
std::string Shorten(std::string s, size_t max) {
    if (s.size() <= max) return s;
    size_t cut = max;
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80)
        --cut;
    s.resize(cut);
    return s + "...";
}
} // namespace

CRingNotice::CRingNotice(IDesktopNotices::ActionHandler onAction)
    : m_onAction(std::move(onAction)) {}

void CRingNotice::Show(IDesktopNotices* service, const CNote& note) {
    if (!service || m_ticket) return;
    std::weak_ptr<int> life = m_life;
    m_ticket = service->Show(Summary(note), Body(note), [this, life](IDesktopNotices::Action a) {
        if (life.lock() && m_ticket) m_onAction(a);
    });
    if (m_ticket) m_service = service;
}

void CRingNotice::Withdraw(IDesktopNotices* service) {
    if (!m_ticket) return;
    if (service && service == m_service) service->Withdraw(m_ticket);
    m_ticket = 0;
    m_service = nullptr;
}

std::string CRingNotice::Summary(const CNote& note) {
    return note.m_title.empty() ? "No Title" : note.m_title;
}

std::string CRingNotice::Body(const CNote& note) {
    const std::string& text = note.m_text;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        size_t first = start, last = end;
        while (first < last && IsBlank(text[first]))
            ++first;
        while (last > first && IsBlank(text[last - 1]))
            --last;
        if (first < last) return Shorten(text.substr(first, last - first), kMaxBodyBytes);
        start = end + 1;
    }
    return {};
}
