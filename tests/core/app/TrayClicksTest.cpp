#include "core/app/CTrayClicks.h"
#include "core/app/Globals.h"
#include "core/app/TrayIds.h"
#include "core/platform/Clock.h"
#include "core/platform/ITimerHost.h"
#include "support/FakeHub.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

constexpr int kDoubleClickMs = 400;

class TrayClicksTest : public ::testing::Test, public ITimerHost {
protected:
    TrayClicksTest()
        : clicks(
              core, [this](int id) { posted.push_back(id); }, [this] { ++menus; }) {
        Clock::SetForTest(COleDateTime(2024, 3, 5, 10, 0, 0));
        PlatformServices services = platform.Services();
        services.timers = this;
        core.SetPlatform(services);
        clicks.SetDoubleClickTime(kDoubleClickMs);
        g_lastWasDoubleClick = 0;
    }
    ~TrayClicksTest() override { core.SetPlatform(platform.Services()); }

    // Only the click timer runs here; it fires when the test clock reaches it.
    void SetTimer(int id, int ms) override {
        if (id == CTrayCore::TimerClick) clickDue = Clock::MonotonicMs() + ms;
    }
    void KillTimer(int id) override {
        if (id == CTrayCore::TimerClick) clickDue = -1;
    }
    void Advance(int ms) {
        const int64_t end = Clock::MonotonicMs() + ms;
        if (clickDue >= 0 && clickDue <= end) {
            MoveTo(clickDue);
            clicks.OnClickTimer();
        }
        MoveTo(end);
    }
    static void MoveTo(int64_t ms) {
        while (Clock::MonotonicMs() < ms)
            Clock::AdvanceForTest(static_cast<double>(ms - Clock::MonotonicMs()) / 1000.0);
    }
    // What the clicks did: N a new note, R the notes raised, M the manager opened.
    std::string Events() const {
        std::string events(core.Store().notes().size(), 'N');
        for (int id : posted)
            events += id == TrayId::CmdShowNotes ? 'R' : '?';
        return events + std::string(platform.services.managerOpens, 'M');
    }

    TestEnv env;           // the manager's close saves the notes
    FakePlatform platform; // outlives the core, which closes the windows
    FakeHub core{platform};
    std::vector<int> posted;
    int menus = 0;
    int64_t clickDue = -1;
    CTrayClicks clicks;
};

TEST_F(TrayClicksTest, ClicksMakeANoteRaiseTheNotesOrOpenTheManager) {
    using A = CTrayClicks::Activation;
    enum { S = 1, C = 2 };
    struct Step {
        A activation;
        int keys = 0, afterMs = 0;
    };
    const struct {
        std::vector<Step> steps;
        std::string early, last; // before and after the double-click time has passed
    } cases[] = {
        // Trays report a double click as two presses and a report (Qt 6 on an XEmbed tray), a
        // press and a report, or two presses only. The first press never opens the manager.
        {{{A::Press}, {A::Press, 0, 120}, {A::DoubleClick, 0, 120}}, "N", "N"},
        {{{A::Press}, {A::DoubleClick, 0, 120}}, "N", "N"},
        {{{A::Press}, {A::Press, 0, 120}}, "N", "N"},
        {{{A::Press, C}, {A::Press, C, kDoubleClickMs - 10}}, "N", "N"}, // drops the Ctrl click
        {{{A::Press}}, "", "M"},
        {{{A::Press, S}}, "", "N"},
        {{{A::Press, C}}, "", "R"},
        {{{A::Press, S | C}}, "", "N"},
        {{{A::Press}, {A::Press, 0, kDoubleClickMs + 1}}, "M", "MM"}, // two single clicks
    };
    // Outside the idle state no note is made and the manager does not open.
    for (int state : {CTrayCore::StateIdle, CTrayCore::StateRinging, CTrayCore::StateManagerOpen,
                      CTrayCore::StateOptionsOpen, CTrayCore::StateFileTransfer}) {
        core.SetState(state);
        auto expected = [state](std::string events) {
            if (state != CTrayCore::StateIdle) {
                std::erase(events, 'N');
                std::erase(events, 'M');
            }
            return events;
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "state " << state << ", case " << &c - cases);
            core.DeleteAllData();
            posted.clear();
            platform.services.managerOpens = 0;
            for (const Step& step : c.steps) {
                Advance(step.afterMs);
                clicks.OnActivated(step.activation, step.keys & S, step.keys & C);
            }
            Advance(kDoubleClickMs - 1);
            EXPECT_EQ(Events(), expected(c.early));
            Advance(1);
            EXPECT_EQ(Events(), expected(c.last));
            Advance(10 * kDoubleClickMs);
            EXPECT_EQ(Events(), expected(c.last));
            EXPECT_EQ(clickDue, -1);
        }
        // The menu opens only when idle (the first state).
        clicks.OnActivated(CTrayClicks::Context, false, false);
        EXPECT_EQ(menus, 1);
    }
}

} // namespace
