#pragma once

#include "core/storage/CSideSettings.h"

#include <functional>
#include <optional>
#include <string>

// The side settings as the running program sees them: "jotterly.conf" is read at the first
// look and again only when a change is written here, so every part sees the same values and
// none reads the file on its own.
class CSideSettingsStore {
public:
    // The file lies in ProgramFolder(), taken at the first look (tests set it late).
    const CSideSettings& Get() const;
    // Reads the file afresh (so a line typed by hand meanwhile is kept), applies change and
    // writes it; the copy here follows once the file holds it. False with a reason when it
    // could not, and the copy stays as it was.
    bool Change(const std::function<void(CSideSettings&)>& change, std::string* reason = nullptr);
    // How often the file was read (tests see that a look does not read it).
    int Reads() const { return m_reads; }

private:
    mutable std::optional<CSideSettings> m_settings;
    mutable int m_reads = 0;
};
