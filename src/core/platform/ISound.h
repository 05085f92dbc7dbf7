#pragma once

#include <string>

// Sound output, the one owner of what plays. It has two voices: the loop, which belongs to
// the ringing notes (and the options' preview while none rings), and one-shot sounds. Stopping
// one voice never ends the other, so no window can silence a ringing note by ending its own
// sound. Without an audio device the wave calls do nothing.
class ISound {
public:
    virtual ~ISound() = default;
    // Readies the output ahead of a ring, so that the ring sounds at once; nothing once ready.
    virtual void Prepare() {}
    virtual bool HasAudioDevice() const = 0;
    // A short beep; falls back to the display's bell without an audio device.
    virtual void Beep() = 0;
    // Loops a WAV file asynchronously; a file that cannot be played loops the beep instead.
    virtual void PlayWaveLoop(const std::string& path) = 0;
    // A WAV file once, asynchronously; a file that cannot be played gives the beep instead.
    virtual void PlayWaveOnce(const std::string& path) = 0;
    // One of the built-in clips by resource id (241, 242), once, asynchronously.
    virtual void PlayResource(int id) = 0;
    // Ends the loop.
    virtual void StopLoop() = 0;
    // Ends the one-shot sound that plays, if any; the loop plays on.
    virtual void StopOnce() = 0;
};
