#include "document.h"

#include "codegen/grammar.h"
#include "codegen/updater.h"
#include "notifier.h"
#include "storerecall.h"

#include <algorithm>
#include <unordered_map>

namespace bitloom {

namespace {

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The edit without the bytes it would put back as they were: what stays the
// same at its start and end is left out, on whole UTF-8 characters, so that
// views and steps handle only what really changes.
TextEdit tightened(std::string_view text, TextEdit edit)
{
    const std::string_view removed = text.substr(edit.position, edit.removed);
    const std::string_view inserted = edit.inserted;
    const std::size_t limit = std::min(removed.size(), inserted.size());
    std::size_t prefix = 0;
    while (prefix < limit && removed[prefix] == inserted[prefix])
        ++prefix;
    while (prefix > 0 && prefix < limit
           && (isContinuationByte(removed[prefix]) || isContinuationByte(inserted[prefix])))
        --prefix;
    std::size_t suffix = 0;
    while (suffix < limit - prefix
           && removed[removed.size() - 1 - suffix] == inserted[inserted.size() - 1 - suffix])
        ++suffix;
    while (suffix > 0
           && (isContinuationByte(removed[removed.size() - suffix])
               || isContinuationByte(inserted[inserted.size() - suffix])))
        --suffix;
    return {edit.position + prefix, edit.removed - prefix - suffix,
            std::string(inserted.substr(prefix, inserted.size() - prefix - suffix))};
}

} // namespace

Document::Document()
{
    mTools.resetTools();
}

void Document::reset()
{
    mTableReplaced = true;
    mCodeReplaced = true;
    mGrid = initialGrid();
    mTools = ToolState();
    mTools.resetTools();
    mName = "Sprite";
    mNames.clear();
    mTable = SpriteTable{};
    mCode.clear();
    mBrushPending = false;
    mUnsaved = false;
    mBrushRun.reset();
    mDrag.reset();
    mHistory.clear();
}

DocumentStateRef Document::state()
{
    return {mGrid, mName, mNames, mTable, mCode, mBrushPending};
}

void Document::touch(std::optional<int> index)
{
    if (!index
        || std::any_of(mTouched.begin(), mTouched.end(), [&](const auto& t) { return t.first == *index; }))
        return;
    mTouched.emplace_back(*index, mTable[static_cast<std::size_t>(*index)]);
}

void Document::edit(const TextEdit& edit)
{
    TextEdit tight = tightened(mCode, edit);
    if (tight.removed == 0 && tight.inserted.empty())
        return;
    mEdits.backward.insert(mEdits.backward.begin(), inverseEdit(mCode, tight));
    applyEdit(mCode, tight);
    mEdits.forward.push_back(std::move(tight));
}

void Document::regenerate()
{
    mBrushPending = false;
    // The name as the text will read it back: blanks before it belong to
    // the declaration's head, so " A" is the sprite "A". The drawing goes
    // to that sprite.
    mName = std::string(grammar::spriteName(mName));
    // Registration names the first free entry, and the store writes the
    // entry the name finds: nothing else.
    touch(findFreeSlot(mTable));
    touch(findEntry(mTable, mName));
    const bool known = declaresSprite(mCode, mName);
    const auto slot = findFreeSlot(mTable);
    if (!known && !slot) {
        // A new sprite. Refuse it whole when no entry is free, so that no
        // stored sprite is overwritten and the text gains no orphan lines.
        mLastRefusal = {Refusal::Reason::TableFull, mName};
        mRefused = true;
        return;
    }
    const CodeUpdate update = updateDeclarations(mCode, mName, mGrid, mPalette);
    for (const TextEdit& e : update.edits)
        edit(e);
    // A new name is registered once the text declares it: a text that
    // could not take its declarations registers nothing.
    if (!known && !update.edits.empty()) {
        mNames.push_back(mName);
        mTable[static_cast<std::size_t>(*slot)].name = mName;
    }
    if (update.outcome != CodeUpdate::Outcome::Updated) {
        mLastRefusal = {Refusal::Reason::MalformedDeclaration, mName};
        mRefused = true;
    }
    // The drawing is stored even when the text could not take it, so that
    // nothing the user drew is lost.
    storeDrawing(mGrid, mPalette, mName, mTable);
}

void Document::record(StepKind kind, const StepState& before)
{
    // The edits stay for the observers too.
    mHistory.push(Step(kind, before, mTouched, state(), mEdits));
}

void Document::endBrushRun()
{
    endDrag();
    commitBrushRun();
}

void Document::commitBrushRun()
{
    if (!mBrushRun)
        return;
    // An action of its own, told to the observers before the action that
    // ends the run: the brushed cells reach the code text and the stored
    // drawing under the name of this moment, as a press would take them.
    Notifier notifier(*this, Notifier::Sheet);
    const StepState before = std::move(*mBrushRun);
    mBrushRun.reset();
    regenerate();
    record(StepKind::Brush, before);
}

void Document::press(int cell, MouseButton button, float x, float y)
{
    endBrushRun();
    Notifier notifier(*this, Notifier::Sheet);
    if (mTools.toolPopupVisible())
        return; // while the pop-up is open, presses on the grid are ignored
    if (button == MouseButton::Right)
        mTools.openToolPopup(cell, x, y);
    else
        mGrid[static_cast<std::size_t>(cell)] = mPalette[static_cast<std::size_t>(colour())];
    // Also after a right press: brush strokes since the last press reach the
    // code text now.
    regenerate();
    record(button == MouseButton::Right ? StepKind::UpdateCode : StepKind::Paint, notifier.before());
    if (button == MouseButton::Left && tool() != Tool::Brush)
        mDrag = Drag{notifier.before(), mTouched, mEdits};
}

void Document::moveOver(int cell)
{
    // Passing over a cell that already has the colour changes nothing: no
    // step, no unsaved change.
    const Colour paint = mPalette[static_cast<std::size_t>(colour())];
    if (tool() != Tool::Brush || mGrid[static_cast<std::size_t>(cell)] == paint)
        return;
    Notifier notifier(*this, Notifier::View);
    if (!mBrushRun)
        mBrushRun = state().copy();
    mGrid[static_cast<std::size_t>(cell)] = paint;
    mBrushPending = true;
}

void Document::selectColour(int index)
{
    endBrushRun();
    Notifier notifier(*this, Notifier::View);
    mTools.selectColour(index);
}

void Document::choosePen()
{
    endBrushRun();
    Notifier notifier(*this, Notifier::View);
    mTools.choosePen();
}

void Document::chooseBrush()
{
    endBrushRun();
    Notifier notifier(*this, Notifier::View);
    mTools.chooseBrush();
}

void Document::hoverPen()
{
    Notifier notifier(*this, Notifier::View);
    mTools.hoverPen();
}

void Document::hoverBrush()
{
    Notifier notifier(*this, Notifier::View);
    mTools.hoverBrush();
}

void Document::typeName(const std::string& name)
{
    endBrushRun();
    Notifier notifier(*this, Notifier::View);
    mName = name;
    // The typed name shows the sprite it will write: blanks before it are
    // not part of it.
    recallTyped(mGrid, mPalette, grammar::spriteName(mName), mTable);
    mBrushPending = false; // the grid now shows what is stored
}

void Document::chooseName(int listIndex)
{
    if (listIndex < 0 || static_cast<std::size_t>(listIndex) >= mNames.size())
        return;
    endBrushRun();
    Notifier notifier(*this, Notifier::View);
    mName = mNames[static_cast<std::size_t>(listIndex)];
    recallChosen(mGrid, mPalette, mName, mTable);
    mBrushPending = false;
}

void Document::clearTile()
{
    endBrushRun();
    Notifier notifier(*this, Notifier::Sheet);
    mGrid.fill(mPalette[0]);
    regenerate();
    record(StepKind::ClearTile, notifier.before());
}

void Document::removeTile()
{
    endBrushRun();
    Notifier notifier(*this, Notifier::Sheet);
    const std::vector<TextEdit> removals = removeDeclarations(mCode, mName);
    if (removals.empty())
        return;                                      // no sprite of this name
    mName = std::string(grammar::spriteName(mName)); // the sprite removed, as the text names it
    for (const TextEdit& removal : removals)
        edit(removal);
    if (const auto entry = findEntry(mTable, mName)) {
        touch(entry);
        mTable[static_cast<std::size_t>(*entry)] = SpriteEntry{};
    }
    if (const auto item = std::find(mNames.rbegin(), mNames.rend(), mName); item != mNames.rend())
        mNames.erase(std::next(item).base());
    mGrid.fill(mPalette[0]);
    mBrushPending = false;
    record(StepKind::RemoveTile, notifier.before());
}

std::optional<ImportRefusal> Document::importRefusal(const std::vector<Tile>& drawings) const
{
    std::vector<std::string> known;
    for (const Tile& drawing : drawings) {
        if (declaresSprite(mCode, drawing.name))
            known.push_back(drawing.name);
    }
    return roomRefusal(drawings, known, freeEntries());
}

std::optional<ImportRefusal> Document::importDrawings(const std::vector<Tile>& drawings)
{
    // The run's name may take an entry: count the room after it.
    endBrushRun();
    if (auto refusal = importRefusal(drawings))
        return refusal;
    Notifier notifier(*this, Notifier::Sheet);
    for (const Tile& drawing : drawings) {
        mName = drawing.name;
        for (std::size_t k = 0; k < drawing.shades.size(); ++k)
            mGrid[k] = mPalette[static_cast<std::size_t>(drawing.shades[k] & 3)];
        regenerate();
    }
    record(StepKind::Import, notifier.before());
    return std::nullopt;
}

void Document::undo()
{
    retrace(false);
}

void Document::redo()
{
    retrace(true);
}

void Document::retrace(bool forward)
{
    endBrushRun();
    Notifier notifier(*this, Notifier::Sheet);
    if (forward ? !mHistory.canRedo() : !mHistory.canUndo())
        return;
    const Step& step = forward ? mHistory.nextRedo() : mHistory.nextUndo();
    for (const int index : step.entryIndices())
        touch(index);
    // The edits the step applies are the ones the observers are told of.
    const std::vector<TextEdit>& applied = forward ? step.redo(state()) : step.undo(state());
    mEdits.forward.insert(mEdits.forward.end(), applied.begin(), applied.end());
    if (forward)
        mHistory.stepForward();
    else
        mHistory.stepBack();
}

std::optional<StepKind> Document::undoKind() const
{
    if (mBrushRun)
        return StepKind::Brush;
    return mHistory.canUndo() ? std::optional(mHistory.nextUndo().kind()) : std::nullopt;
}

std::optional<StepKind> Document::redoKind() const
{
    return canRedo() ? std::optional(mHistory.nextRedo().kind()) : std::nullopt;
}

void Document::newDocument()
{
    Notifier notifier(*this, Notifier::Sheet);
    reset();
    mFilePath.clear();
}

std::optional<CodeTextRefusal> Document::open(const std::string& bytes, const std::string& path,
                                              OpenReport* report)
{
    if (auto refusal = refusalForCodeText(bytes))
        return refusal;
    Notifier notifier(*this, Notifier::Sheet);
    reset();
    mCode = bytes;
    mFilePath = path;

    OpenReport found;
    // Each sprite is registered as a first press under its name would be: a
    // list item and the first free entry, then the drawing stored under the
    // name. The table is empty, so the entries are taken in order.
    std::size_t nextFree = 0;
    for (DeclaredSprite& sprite : readDeclarations(mCode, &found.unreadableLines)) {
        if (nextFree == mTable.size()) {
            found.notRegistered.push_back(std::move(sprite.name));
            continue;
        }
        mNames.push_back(sprite.name);
        const std::size_t slot = nextFree++;
        mTable[slot].name = sprite.name;
        // The store writes the entry the name finds: its own, but for the
        // empty name, which finds the last free entry.
        const auto entry =
            sprite.name.empty() ? findEntry(mTable, sprite.name) : std::optional<int>(int(slot));
        if (entry)
            mTable[static_cast<std::size_t>(*entry)].shades = sprite.shades;
    }
    if (!mNames.empty()) {
        mName = mNames.front();
        recallChosen(mGrid, mPalette, mName, mTable);
    }
    if (report)
        *report = std::move(found);
    return std::nullopt;
}

const std::string& Document::textToSave()
{
    endBrushRun();
    Notifier notifier(*this, Notifier::Sheet);
    if (mBrushPending) {
        regenerate();
        record(StepKind::UpdateCode, notifier.before());
    }
    return mCode;
}

void Document::markSaved(const std::string& path)
{
    Notifier notifier(*this, Notifier::View);
    mFilePath = path;
    mUnsaved = false;
    mHistory.markSaved();
}

void Document::markUnsaved()
{
    Notifier notifier(*this, Notifier::View);
    mUnsaved = true;
}

Shades Document::storedDrawing(int listIndex) const
{
    const auto entry = findEntry(mTable, mNames.at(static_cast<std::size_t>(listIndex)));
    return entry ? mTable[static_cast<std::size_t>(*entry)].shades : Shades{};
}

std::vector<Shades> Document::storedDrawings() const
{
    // One pass over the table: a name's entry is its last one, as a lookup
    // finds it.
    std::unordered_map<std::string_view, const SpriteEntry*> entries;
    for (const SpriteEntry& entry : mTable)
        entries[entry.name] = &entry;
    std::vector<Shades> drawings;
    drawings.reserve(mNames.size());
    for (const std::string& name : mNames) {
        const auto entry = entries.find(name);
        drawings.push_back(entry != entries.end() ? entry->second->shades : Shades{});
    }
    return drawings;
}

int Document::currentIndex() const
{
    // A name listed twice is current at its last place, as its entry is.
    const auto current = std::find(mNames.rbegin(), mNames.rend(), mName);
    return current == mNames.rend() ? -1 : int(mNames.rend() - current) - 1;
}

int Document::freeEntries() const
{
    return int(
        std::count_if(mTable.begin(), mTable.end(), [](const SpriteEntry& e) { return e.name.empty(); }));
}

void Document::leaveGrid()
{
    commitBrushRun();
}

void Document::dragOver(int cell)
{
    const Colour paint = mPalette[static_cast<std::size_t>(colour())];
    if (!mDrag || mGrid[static_cast<std::size_t>(cell)] == paint)
        return;
    Notifier notifier(*this, Notifier::View);
    mGrid[static_cast<std::size_t>(cell)] = paint;
    mDrag->painted = true;
}

void Document::release()
{
    endDrag();
}

void Document::endDrag()
{
    if (!mDrag)
        return;
    Drag drag = std::move(*mDrag);
    mDrag.reset();
    if (!drag.painted)
        return;
    Notifier notifier(*this, Notifier::Sheet);
    regenerate();
    // One step from before the press: the press's entries keep their values
    // from before it, and an entry only the release touched had its value
    // then too, as a drag changes only the grid.
    TouchedEntries touched = std::move(drag.touched);
    for (const auto& entry : mTouched) {
        if (std::none_of(touched.begin(), touched.end(),
                         [&](const auto& t) { return t.first == entry.first; }))
            touched.push_back(entry);
    }
    EditRecord edits = std::move(drag.edits);
    edits.forward.insert(edits.forward.end(), mEdits.forward.begin(), mEdits.forward.end());
    edits.backward.insert(edits.backward.begin(), mEdits.backward.begin(), mEdits.backward.end());
    mHistory.replaceLast(Step(StepKind::Paint, drag.before, touched, state(), std::move(edits)));
}

void Document::closeToolPopup()
{
    endBrushRun();
    Notifier notifier(*this, Notifier::View);
    mTools.closeToolPopup();
}

std::vector<std::string> Document::importReplacedNames(const std::vector<Tile>& drawings) const
{
    std::vector<std::string> replaced;
    for (auto tile = drawings.begin(); tile != drawings.end(); ++tile) {
        const std::string& name = tile->name;
        if (std::find(replaced.begin(), replaced.end(), name) != replaced.end()
            || !declaresSprite(mCode, name))
            continue;
        // A name imported more than once ends with its last drawing.
        const auto last = std::find_if(drawings.rbegin(), drawings.rend(),
                                       [&](const Tile& other) { return other.name == name; });
        Shades now{};
        if (name == mName && mBrushRun) {
            // Brushed cells reach the code before the import: the grid is the drawing.
            for (std::size_t k = 0; k < mGrid.size(); ++k)
                now[k] = shadeOf(mPalette, mGrid[k]).value_or(Shade(-1));
        } else if (const auto entry = findEntry(mTable, name)) {
            now = mTable[static_cast<std::size_t>(*entry)].shades;
        }
        Shades imported = last->shades;
        for (Shade& shade : imported)
            shade = Shade(shade & 3);
        if (imported != now)
            replaced.push_back(name);
    }
    return replaced;
}

} // namespace bitloom
