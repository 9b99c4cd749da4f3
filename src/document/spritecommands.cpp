// The sprite commands of the document: rename, duplicate, the transforms of
// the drawing, and copy and paste.
#include "document.h"

#include "codegen/grammar.h"
#include "codegen/renamer.h"
#include "codegen/spritecopy.h"
#include "codegen/updater.h"
#include "model/transform.h"
#include "notifier.h"

#include <algorithm>

namespace bitloom {

std::optional<Document::RenameRefusal> Document::renameSprite(const std::string& typed)
{
    endBrushRun();
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

    Notifier notifier(*this, Notifier::Sheet);
    for (const TextEdit& e : edits)
        edit(e);
    if (const auto entry = findEntry(mTable, mName)) {
        touch(entry);
        mTable[static_cast<std::size_t>(*entry)].name = newName;
    }
    if (const auto item = std::find(mNames.rbegin(), mNames.rend(), mName); item != mNames.rend())
        *item = newName;
    mName = newName;
    record(StepKind::Rename, notifier.before());
    return std::nullopt;
}

std::string Document::duplicateName() const
{
    const auto taken = [this](const std::string& name) {
        return declaresSprite(mCode, name) || std::find(mNames.begin(), mNames.end(), name) != mNames.end();
    };
    std::string name = mName + "_copy";
    for (int n = 2; taken(name); ++n)
        name = mName + "_copy" + std::to_string(n);
    return name;
}

void Document::duplicateSprite()
{
    endBrushRun();
    Notifier notifier(*this, Notifier::Sheet);
    const std::string name = duplicateName();
    if (!findFreeSlot(mTable)) {
        // Refused before anything changes, the current name included.
        mLastRefusal = {Refusal::Reason::TableFull, name};
        mRefused = true;
        return;
    }
    // The grid shows exactly what the copy gets.
    mGrid = painted(mGrid, mPalette);
    mName = name;
    regenerate();
    record(StepKind::Duplicate, notifier.before());
}

void Document::transformDrawing(StepKind kind, const Grid& after)
{
    Notifier notifier(*this, Notifier::Sheet);
    mGrid = after;
    regenerate();
    record(kind, notifier.before());
}

void Document::flipHorizontally()
{
    endBrushRun();
    transformDrawing(StepKind::FlipHorizontally, flippedHorizontally(painted(mGrid, mPalette)));
}

void Document::flipVertically()
{
    endBrushRun();
    transformDrawing(StepKind::FlipVertically, flippedVertically(painted(mGrid, mPalette)));
}

void Document::rotateClockwise()
{
    endBrushRun();
    transformDrawing(StepKind::RotateClockwise, rotatedClockwise(painted(mGrid, mPalette)));
}

void Document::rotateAnticlockwise()
{
    endBrushRun();
    transformDrawing(StepKind::RotateAnticlockwise, rotatedAnticlockwise(painted(mGrid, mPalette)));
}

void Document::shiftDrawing(int rows, int columns)
{
    endBrushRun();
    const StepKind kind = rows < 0      ? StepKind::ShiftUp
                          : rows > 0    ? StepKind::ShiftDown
                          : columns < 0 ? StepKind::ShiftLeft
                                        : StepKind::ShiftRight;
    transformDrawing(kind, shifted(painted(mGrid, mPalette), rows, columns));
}

void Document::invertShades()
{
    endBrushRun();
    transformDrawing(StepKind::InvertShades, invertedShades(mGrid, mPalette));
}

void Document::pasteDrawing(const Shades& shades)
{
    endBrushRun();
    Grid pasted{};
    for (std::size_t k = 0; k < pasted.size(); ++k)
        pasted[k] = mPalette[static_cast<std::size_t>(shades[k] & 3)];
    transformDrawing(StepKind::Paste, pasted);
}

std::string Document::spriteText()
{
    endBrushRun();
    if (auto held = declarationsText(mCode, mName))
        return std::move(*held);
    return generatedDeclarations(mName, painted(mGrid, mPalette), mPalette);
}

} // namespace bitloom
