#pragma once

#include "core/platform/IDesktopNotices.h"

#include <memory>
#include <string>

class CNote;

// The desktop notice of one ringing note: shown when it starts ringing, withdrawn when it is
// acknowledged or given up. The notice's buttons reach the ringing only while it is shown and
// this object lives.
class CRingNotice {
public:
    explicit CRingNotice(IDesktopNotices::ActionHandler onAction);

    // service may be null (no desktop notices): nothing is shown.
    void Show(IDesktopNotices* service, const CNote& note);
    // service: the one in use now; null when it is gone (the program ends), then the notice is
    // only forgotten.
    void Withdraw(IDesktopNotices* service);
    bool IsShown() const { return m_ticket != 0; }

    // The note's title, or "No Title".
    static std::string Summary(const CNote& note);
    // The first line of the note's text that holds more than blanks, trimmed and kept short.
    static std::string Body(const CNote& note);

    static constexpr size_t kMaxBodyBytes = 200;

private:
    IDesktopNotices::ActionHandler m_onAction;
    IDesktopNotices* m_service = nullptr;
    unsigned m_ticket = 0;
    // Handed to the service's callback as a weak reference: a button pressed after this
    // object is gone does nothing.
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};
