#include "oracle.h"

#include <gtest/gtest.h>

#include <random>

using bitloom::MouseButton;
using bitloom::oracle::Session;

namespace {

// Names that share prefixes and suffixes, differ in case or spacing, hold
// declaration words, braces, comment marks, non-ASCII text or a line break,
// or are long.
const std::vector<std::string> kNames = {
    "Sprite",
    "A",
    "B",
    "BA",
    "AB",
    "a",
    "",
    "A ",
    " A",
    "A\tB",
    "Spritelight",
    "Spritedark",
    "Alight",
    "Adark[]={",
    "Alight[]={x",
    "light[]={",
    "dark",
    "}",
    "{",
    "x};",
    "/* */",
    "*/",
    "\"q\"",
    "\xC4\x9E\xC3\xB6\xC3\xA7",         // Ğöç
    "\xF0\x9F\x98\x80 e\xCC\x81",       // emoji, e with combining acute
    "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", // right-to-left letters
    "A\rB",
    "first\nsecond",
    std::string("nul\0byte", 8),
    std::string(300, 'L'),
    std::string(301, 'L'),
    std::string(10000, 'W'),
};

struct Walk {
    unsigned seed;
    int steps;
    int freshPercent; // how often typing picks a name never used before
};

class Property : public ::testing::TestWithParam<Walk> {};

TEST_P(Property, ProgramFollowsTheModel)
{
    const Walk run = GetParam();
    std::mt19937 rng(run.seed); // the same sequence on every machine
    const auto pick = [&](std::size_t n) { return static_cast<int>(rng() % n); };
    const auto anyName = [&] { return kNames[static_cast<std::size_t>(pick(kNames.size()))]; };
    Session session;
    int fresh = 0;
    for (int step = 0; step < run.steps; ++step) {
        const int op = pick(100);
        if (op < 20)
            session.type(pick(100) < run.freshPercent ? "N" + std::to_string(fresh++) : anyName());
        else if (op < 50)
            session.press(pick(64), op < 45 ? MouseButton::Left : MouseButton::Middle);
        else if (op < 55)
            session.press(pick(64), MouseButton::Right);
        else if (op < 60)
            session.chooseTool(pick(2) == 1);
        else if (op < 70)
            session.move(pick(64));
        else if (op < 80)
            session.selectColour(pick(4));
        else if (op < 85)
            session.clear();
        else if (op < 95)
            session.choose(static_cast<std::size_t>(pick(1000)));
        else
            session.type(anyName());
        ASSERT_EQ(session.check(), "") << "seed " << run.seed << " step " << step << " operation " << op;
    }
    if (run.freshPercent > 50) {
        EXPECT_GT(session.refusals(), 0) << "the run should have filled the table";
    }
}

// A long session: 101 sprites, each redrawn many times, with refusals of
// further names in between; the model is checked after every step.
TEST(LongSession, HundredAndOneSpritesRedrawnManyTimes)
{
    std::mt19937 rng(101);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    Session session;
    for (int round = 0; round < 12; ++round) {
        for (int sprite = 0; sprite < 101; ++sprite) {
            session.type("S" + std::to_string(sprite));
            for (int stroke = 0; stroke < 3; ++stroke) {
                session.selectColour(pick(4));
                session.press(pick(64), MouseButton::Left);
            }
            ASSERT_EQ(session.check(), "") << "round " << round << " sprite " << sprite;
        }
        session.type("Extra" + std::to_string(round));
        session.press(pick(64), MouseButton::Left);
        ASSERT_EQ(session.check(), "") << "refusal in round " << round;
    }
    EXPECT_EQ(session.refusals(), 12);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Property,
                         ::testing::Values(Walk{1, 400, 10}, Walk{2, 400, 10}, Walk{3, 400, 5},
                                           Walk{4, 400, 20}, Walk{5, 400, 0}, Walk{6, 400, 10},
                                           Walk{7, 1500, 90}, Walk{8, 1500, 80}),
                         [](const auto& info) { return "Seed" + std::to_string(info.param.seed); });

} // namespace
