#include "core/app/CRingIconFlash.h"

#include "core/app/TrayIds.h"
#include "core/model/TrayState.h"
#include "core/platform/ISound.h"

bool CRingIconFlash::Wanted(int state, const ISound* sound) {
    return state == StateRinging && !(sound && sound->HasAudioDevice());
}

int CRingIconFlash::Icon() const {
    return m_lit ? int(TrayId::IconRinging) : m_icon;
}

bool CRingIconFlash::Follow(bool wanted) {
    m_running = wanted;
    if (!wanted) m_lit = false;
    return m_running;
}
