#pragma once

#include "core/model/CNote.h"
#include "core/platform/IDesktopNotices.h"
#include "core/platform/IDialogs.h"
#include "core/platform/INoteWindow.h"
#include "core/platform/INoteWindowFactory.h"
#include "core/platform/ISound.h"
#include "core/platform/ITimerHost.h"
#include "core/platform/ITrayIcon.h"

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Plain stand-ins for the platform services, recording what the core asked of them.

struct FakeDialogs : IDialogs {
    struct Box {
        std::string text, caption;
        Buttons buttons;
        Icon icon;
    };
    std::vector<Box> boxes;
    std::deque<Answer> answers;                   // next answers; AnswerOk/Yes when empty
    std::deque<std::optional<std::string>> files; // next file names; cancel when empty
    std::vector<std::string> proposedNames;       // what each save dialog proposed

    Answer MessageBox(const std::string& text, const std::string& caption, Buttons buttons,
                      Icon icon) override;
    std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                            const std::string&) override;
    std::optional<std::string> OpenFileName(const std::string&, const std::string&,
                                            const std::string&) override;
};

struct FakeNoteWindow : INoteWindow {
    explicit FakeNoteWindow(CNote& n) : note(&n) {}
    CNote* note;
    bool ringing = false, busy = false, readOnly = false, postedBefore = true;
    int countdownUpdates = 0, raised = 0;
    RECT rect{10, 20, 214, 173};
    int openedX = -1, openedY = -1; // the point it was opened at
    bool destroyed = false;

    bool IsRinging() const override { return ringing; }
    bool PostedBeforeRinging() const override { return postedBefore; }
    bool IsBusy() const override { return busy; }
    int alarmsStarted = 0;
    void StartAlarm(int, bool) override {
        ringing = true;
        ++alarmsStarted;
    }
    RECT GetWindowRect() const override { return rect; }
    void SetReadOnly(bool ro) override { readOnly = ro; }
    void BringToTop() override { ++raised; }
    void UpdateCountdown() override { ++countdownUpdates; }
    int reloads = 0;
    void ReloadTexts() override { ++reloads; }
    void MoveTo(int left, int top) override {
        rect = {left, top, left + rect.right - rect.left, top + rect.bottom - rect.top};
    }
    void Destroy() override;
};

struct FakeWindowFactory : INoteWindowFactory {
    std::vector<std::unique_ptr<FakeNoteWindow>> windows;
    INoteWindow* OpenNoteWindow(CNote& note, int x, int y, bool ringing) override;
    int OpenCount() const;
};

struct FakeTimers : ITimerHost {
    std::map<int, int> active; // id -> period
    std::vector<std::pair<int, int>> history;
    void SetTimer(int id, int periodMs) override {
        active[id] = periodMs;
        history.emplace_back(id, periodMs);
    }
    void KillTimer(int id) override { active.erase(id); }
};

// Records what was asked, and keeps the voices as the real sound does: the loop sounds (with a
// device) until StopLoop, whatever one-shot sound starts or stops meanwhile.
struct FakeSound : ISound {
    bool device = false;
    bool looping = false;
    int beeps = 0, loopsStarted = 0, loopStops = 0, onceStops = 0, prepares = 0;
    std::vector<int> resources;
    std::string lastWave;
    void Prepare() override { ++prepares; }
    bool HasAudioDevice() const override { return device; }
    void Beep() override { ++beeps; }
    void PlayWaveLoop(const std::string& path) override {
        ++loopsStarted;
        lastWave = path;
        looping = device;
    }
    void PlayWaveOnce(const std::string& path) override { oncePlayed.push_back(path); }
    void PlayResource(int id) override { resources.push_back(id); }
    void StopLoop() override {
        ++loopStops;
        looping = false;
    }
    void StopOnce() override { ++onceStops; }
    std::vector<std::string> oncePlayed;
};

struct FakeTray : ITrayIcon {
    int icon = 0, removed = 0;
    std::string tip;
    void Show(int id, const std::string& t) override {
        icon = id;
        tip = t;
    }
    void Remove() override { ++removed; }
};

// A desktop notification service that keeps what it was asked to show; Press is a click on a
// notice's button. Unavailable, it shows nothing.
struct RecordingNotices : IDesktopNotices {
    std::vector<std::string> shown;
    std::vector<ActionHandler> handlers;
    std::vector<unsigned> withdrawn;
    bool withButtons = false, available = true;
    unsigned Show(const std::string& title, const std::string&, ActionHandler onAction) override {
        if (!available) return 0;
        shown.push_back(title);
        withButtons = withButtons || onAction;
        handlers.push_back(std::move(onAction));
        return static_cast<unsigned>(shown.size());
    }
    void Withdraw(unsigned ticket) override { withdrawn.push_back(ticket); }
    void Press(size_t i, Action a) { handlers.at(i)(a); }
};
