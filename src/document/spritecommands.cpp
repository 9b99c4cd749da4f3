// The sprite commands of the document: rename, duplicate, the transforms of
// the drawing, and copy and paste.
#include "document.h"

#include "codegen/grammar.h"
#include "codegen/renamer.h"
#include "codegen/spritecopy.h"
#include "codegen/updater.h"
#include "model/transform.h"
#include "transaction.h"

#include <algorithm>

namespace bitloom {

std::optional<Document::RenameRefusal> Document::renameSprite(const std::string& typed)
{
    Transaction action(*this, Transaction::Sheet);
    // Blanks before a name belong to a declaration's head: the name the
    // text reads back is the one the list and the table get.
    const std::string newName(grammar::spriteName(typed));
    if (!declaresSprite(mCode, mName))
        return RenameRefusal::NoSprite;
    if (newName.empty())
        return RenameRefusal::EmptyName;
    if (newName.find_first_of("\r\n") != std::string::npos)
        return RenameRefusal::LineBreak;
    if (newName == mName)
        return std::nullopt; // nothing to do
    if (declaresSprite(mCode, newName) || std::find(mNames.begin(), mNames.end(), newName) != mNames.end())
        return RenameRefusal::NameTaken;
    const std::vector<TextEdit> edits = bitloom::renameSprite(mCode, mName, newName);
    if (edits.empty())
        return RenameRefusal::Unreadable;

    for (const TextEdit& e : edits)
        edit(e);
    if (const auto entry = findEntry(mTable, mName)) {
        SpriteEntry renamed = mTable[static_cast<std::size_t>(*entry)];
        renamed.name = newName;
        setEntry(*entry, std::move(renamed));
    }
    if (const auto item = std::find(mNames.rbegin(), mNames.rend(), mName); item != mNames.rend())
        *item = newName;
    mName = newName;
    action.commit(StepKind::Rename);
    return std::nullopt;
}

std::string Document::duplicateName() const
{
    const auto taken = [this](const std::string& name) {
        return declaresSprite(mCode, name) || std::find(mNames.begin(), mNames.end(), name) != mNames.end();
    };
    std::string base = mName;
    if (const auto tile = currentTile()) {
        // A pair sprite cannot be named NAME[i]: the copy takes NAME_i.
        base = tile->array->name + "_" + std::to_string(tile->index);
        if (!taken(base))
            return base;
    }
    std::string name = base + "_copy";
    for (int n = 2; taken(name); ++n)
        name = base + "_copy" + std::to_string(n);
    return name;
}

void Document::duplicateSprite()
{
    Transaction action(*this, Transaction::Sheet);
    const std::string name = duplicateName();
    if (!findFreeSlot(mTable)) {
        // Refused before anything changes, the current name included.
        mLastRefusal = {Refusal::Reason::TableFull, name, {}};
        mRefused = true;
        return;
    }
    // The grid shows exactly what the copy gets.
    mGrid = painted(mGrid);
    mName = name;
    regenerate();
    action.commit(StepKind::Duplicate);
}

template <typename Transform>
void Document::transformDrawing(StepKind kind, Transform transform)
{
    // The transform reads the drawing once an open brush run has reached
    // the text: the run is part of what it transforms.
    Transaction action(*this, Transaction::Sheet);
    mGrid = transform(painted(mGrid));
    regenerate();
    action.commit(kind);
}

void Document::flipHorizontally()
{
    transformDrawing(StepKind::FlipHorizontally, [](const Grid& grid) { return flippedHorizontally(grid); });
}

void Document::flipVertically()
{
    transformDrawing(StepKind::FlipVertically, [](const Grid& grid) { return flippedVertically(grid); });
}

void Document::rotateClockwise()
{
    transformDrawing(StepKind::RotateClockwise, [](const Grid& grid) { return rotatedClockwise(grid); });
}

void Document::rotateAnticlockwise()
{
    transformDrawing(StepKind::RotateAnticlockwise,
                     [](const Grid& grid) { return rotatedAnticlockwise(grid); });
}

void Document::shiftDrawing(int rows, int columns)
{
    const StepKind kind = rows < 0      ? StepKind::ShiftUp
                          : rows > 0    ? StepKind::ShiftDown
                          : columns < 0 ? StepKind::ShiftLeft
                                        : StepKind::ShiftRight;
    transformDrawing(kind, [&](const Grid& grid) { return shifted(grid, rows, columns); });
}

void Document::invertShades()
{
    transformDrawing(StepKind::InvertShades, [](const Grid& grid) { return invertedShades(grid); });
}

void Document::pasteDrawing(const Shades& shades)
{
    transformDrawing(StepKind::Paste, [&](const Grid&) { return painted(shades); });
}

std::string Document::spriteText()
{
    {
        // Copying is an action: an open brush run reaches the text first,
        // and the tiles are read again once it has.
        const Transaction action(*this, Transaction::View);
    }
    if (auto held = declarationsText(mCode, mName))
        return std::move(*held);
    // A tile of an array: its bytes in the array's layout and notation, one
    // line, as a paste into that file wants them.
    if (const auto tile = currentTile())
        return tileBytesText(mCode, *tile->array, tile->index) + '\n';
    return generatedDeclarations(mName, painted(mGrid));
}

} // namespace bitloom
