// The text a recovery file keeps while a brush run is open: what a save
// would write, taken without touching the document.
#include "document/document.h"
#include "document/unsavedtext.h"

#include <gtest/gtest.h>

#include <string>

namespace bitloom {
namespace {

// For a sprite of the text, a new one, a name the text reads differently
// and a new one that a full table refuses: the text equals what textToSave()
// makes of it afterwards, and taking it changed nothing.
TEST(UnsavedText, HoldsBrushedCellsAsASaveWould)
{
    for (const std::string name : {"Sprite", "Hero", " A", "full"}) {
        SCOPED_TRACE(name);
        Document d;
        d.press(0, MouseButton::Left);
        if (name == "full") {
            for (int i = 0; d.freeEntries() > 0; ++i) {
                d.typeName("S" + std::to_string(i));
                d.press(1, MouseButton::Left);
            }
        }
        d.typeName(name);
        d.selectColour(3);
        d.chooseBrush();
        EXPECT_EQ(codeWithBrushedCells(d), d.code()); // nothing brushed yet
        for (int cell : {5, 6, 14})
            d.moveOver(cell);
        ASSERT_TRUE(d.brushPending());
        const std::string code = d.code();
        const auto undoKind = d.undoKind();

        const std::string kept = codeWithBrushedCells(d);
        EXPECT_EQ(d.code(), code);
        EXPECT_TRUE(d.brushPending());
        EXPECT_EQ(d.undoKind(), undoKind);
        if (name != "full") {
            EXPECT_NE(kept, code);
        }
        EXPECT_EQ(d.textToSave(), kept);
    }
}

} // namespace
} // namespace bitloom
