#include "core/storage/CSideSettingsStore.h"

#include "core/platform/ProgramFolder.h"

const CSideSettings& CSideSettingsStore::Get() const {
    if (!m_settings) {
        m_settings = CSideSettings::Load(ProgramFolder());
        ++m_reads;
    }
    return *m_settings;
}

bool CSideSettingsStore::Change(const std::function<void(CSideSettings&)>& change,
                                std::string* reason) {
    CSideSettings side = CSideSettings::Load(ProgramFolder());
    ++m_reads;
    change(side);
    if (!side.Save(ProgramFolder(), reason)) return false;
    // Read back, so the copy holds what the file now says, down to its untyped lines.
    m_settings = CSideSettings::Load(ProgramFolder());
    ++m_reads;
    return true;
}
