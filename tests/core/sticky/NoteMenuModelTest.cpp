#include "core/model/CNote.h"
#include "core/model/CSettings.h"
#include "core/sticky/CNoteMenuModel.h"

#include <gtest/gtest.h>

namespace {
using M = CNoteMenuModel;

std::vector<int> Ids(const std::vector<M::Item>& items) {
    std::vector<int> ids;
    for (const auto& i : items)
        ids.push_back(i.id);
    return ids;
}

const M::Item& Find(const std::vector<M::Item>& items, int id) {
    for (const auto& i : items)
        if (i.id == id) return i;
    throw std::runtime_error("no item " + std::to_string(id));
}

std::vector<bool> Checks(const M::Item& submenu) {
    std::vector<bool> checks;
    for (const auto& c : submenu.children)
        checks.push_back(c.checked);
    return checks;
}
} // namespace

TEST(NoteMenuModel, ItemsFollowTheNoteTypeTheRingingAndTheManager) {
    const std::vector<int> head = {M::Scheme1,     M::Scheme2,     M::Scheme3, M::Scheme4,
                                   M::MyBackColor, M::MyTextColor, M::MyFont,  M::BorderStyle};
    auto with = [&](std::vector<int> tail) {
        std::vector<int> all = head;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    CNote reminder;
    reminder.m_type = CNote::OneTime;
    EXPECT_EQ(Ids(M::Build(reminder, false, false)),
              with({M::Separator, M::ShowCountdown, M::CountdownFormat, M::Separator, M::Delete,
                    M::SaveToFile, M::Print, M::TimeSetting}));
    EXPECT_EQ(Ids(M::Build(reminder, true, false)), head); // ringing
    EXPECT_EQ(Ids(M::Build(reminder, false, true)),
              with({M::Separator, M::ShowCountdown, M::CountdownFormat})); // manager open
    CNote memo;
    EXPECT_EQ(Ids(M::Build(memo, false, false)),
              with({M::Separator, M::Delete, M::SaveToFile, M::Print, M::TimeSetting}));
    EXPECT_EQ(Ids(M::Build(memo, false, true)), head);

    reminder.m_showCountdown = 1;
    reminder.m_countdownFormat = 8 | 2;
    reminder.m_borderStyle = 2;
    const auto items = M::Build(reminder, false, false);
    EXPECT_EQ(Find(items, M::ShowCountdown).label, "Hide Countdown");
    EXPECT_EQ(Checks(Find(items, M::CountdownFormat)),
              (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(Checks(Find(items, M::BorderStyle)), (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(Find(items, M::BorderStyle).children[0].IsChoice());
    EXPECT_FALSE(Find(items, M::MyFont).IsChoice());
}

TEST(NoteMenuModel, SizesAndTheLastCountdownUnitStays) {
    EXPECT_EQ(M::WidthSample(), "Countdown FORMATAA");
    M::Item plain{M::MyFont, "My Font", false, {}};
    M::Item choice{M::FormatDay, "Day", false, {}};
    M::Item separator{M::Separator, "", false, {}};
    EXPECT_EQ(M::Measure(plain, 120, 19), (M::Size{120, 20}));
    EXPECT_EQ(M::Measure(choice, 120, 19), (M::Size{80, 20}));
    EXPECT_EQ(M::Measure(separator, 120, 19).cy, 5);

    EXPECT_EQ(M::ToggleFormat(15, 8), 7);
    EXPECT_EQ(M::ToggleFormat(7, 8), 15);
    EXPECT_EQ(M::ToggleFormat(4, 4), 4); // the only unit left stays on
    EXPECT_EQ(M::ToggleFormat(1, 1), 1);
}
