#pragma once

class ISound;

// The tray icon while notes ring and nobody can hear them: each step swaps the icon the
// program shows for the ringing picture and back, so a ring is seen with every note covered.
// When the ring ends the program's own icon comes back.
class CRingIconFlash {
public:
    static constexpr int kPeriodMs = 500;

    // Whether the icon flashes in this program state with this sound output.
    static bool Wanted(int state, const ISound* sound);

    // The icon the program shows (mail, weather, the normal one), kept under the flash.
    void SetIcon(int id) { m_icon = id; }
    // The icon to show now.
    int Icon() const;
    // Starts or ends the flash; true while it runs.
    bool Follow(bool wanted);
    void Step() { m_lit = m_running && !m_lit; }

private:
    int m_icon = 0;
    bool m_running = false;
    bool m_lit = false;
};
