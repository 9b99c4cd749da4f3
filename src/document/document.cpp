#include "document.h"

#include "codegen/grammar.h"
#include "codegen/updater.h"
#include "model/transform.h"
#include "storerecall.h"
#include "transaction.h"

#include <algorithm>
#include <cctype>
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

Document::Document() = default;

void Document::reset()
{
    mTableReplaced = true;
    mCodeReplaced = true;
    mGrid = initialGrid();
    mTools = ToolState();
    mName = "Sprite";
    mNames.clear();
    mTable = SpriteTable{};
    mCode.clear();
    mBrushPending = false;
    mUnsaved = false;
    mBrushRun.reset();
    mDrag.reset();
    mHistory.clear();
    mTilesStale = true;
}

void Document::refreshTiles()
{
    if (!mTilesStale)
        return;
    mTilesStale = false;
    mTiles = std::make_shared<const TileArrays>(readTileArrays(mCode, mChooser));
}

void Document::setLayoutChooser(LayoutChooser chooser)
{
    Transaction action(*this, Transaction::View);
    mChooser = std::move(chooser);
    mTilesStale = true;
    refreshTiles();
    // The current tile shows what the new layout reads.
    if (const auto ref = parseArrayTileName(mName))
        showTile(*ref);
}

std::optional<Document::TileRef> Document::currentTile() const
{
    const auto ref = parseArrayTileName(mName);
    if (!ref)
        return std::nullopt;
    const TileArray* array = mTiles->find(ref->array);
    if (!array || ref->index >= array->tileCount())
        return std::nullopt;
    return TileRef{array, ref->index};
}

std::string Document::layoutText() const
{
    const auto tile = currentTile();
    return tile ? layoutStatusText(tile->array->image.layout, tile->array->source) : std::string();
}

std::string Document::countText() const
{
    std::string text = std::to_string(kSpriteTableSize - freeEntries()) + " of "
                       + std::to_string(kSpriteTableSize) + " sprites";
    const std::size_t arrays = mTiles->arrays.size();
    if (arrays > 0) {
        const int tiles = mTiles->tileCount();
        text += ", " + std::to_string(tiles) + (tiles == 1 ? " tile" : " tiles") + " in "
                + std::to_string(arrays) + (arrays == 1 ? " array" : " arrays");
    }
    return text;
}

void Document::refuse(Refusal::Reason reason, std::string message)
{
    mLastRefusal = {reason, mName, std::move(message)};
    mRefused = true;
}

void Document::patchTiles(TileArrays& tiles, TileArray& written, const TextEdit& rewrite) const
{
    // Numbers inside the rewritten span took their new lengths; the text
    // between them is as it was. A number token is one run of letters,
    // digits and '_' (prefix, digits and suffix).
    const auto isTokenChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
    };
    const std::size_t end = rewrite.position + rewrite.removed;
    std::ptrdiff_t delta = 0;
    for (grammar::NumberToken& number : written.numbers) {
        if (number.position < rewrite.position)
            continue;
        if (number.position >= end) {
            number.position = std::size_t(std::ptrdiff_t(number.position) + delta);
            continue;
        }
        number.position = std::size_t(std::ptrdiff_t(number.position) + delta);
        std::size_t length = 0;
        while (number.position + length < mCode.size() && isTokenChar(mCode[number.position + length]))
            ++length;
        delta += std::ptrdiff_t(length) - std::ptrdiff_t(number.length);
        number.length = length;
    }
    for (std::size_t i = 0; i < written.numbers.size(); ++i)
        written.numbers[i].value = written.bytes[i];
    const auto moved = [&](std::size_t offset) {
        return offset >= end ? std::size_t(std::ptrdiff_t(offset) + delta) : offset;
    };
    for (TileArray& array : tiles.arrays) {
        array.lineEnd = moved(array.lineEnd);
        if (&array == &written)
            continue;
        array.start = moved(array.start);
        array.lineStart = moved(array.lineStart);
        for (grammar::NumberToken& number : array.numbers)
            number.position = moved(number.position);
    }
}

bool Document::showTile(const ArrayTileRef& ref)
{
    const TileArray* array = mTiles->find(ref.array);
    if (!array || ref.index >= array->tileCount())
        return false;
    mGrid = array->tile(ref.index);
    return true;
}

bool Document::refusesShade()
{
    const auto tile = currentTile();
    if (!tile || !isOneBit(tile->array->image.layout) || colour() == Cell::White || colour() == Cell::Black)
        return false;
    refuse(Refusal::Reason::TwoShades, twoShadesMessage(mName));
    return true;
}

void Document::regenerateTile(const ArrayTileRef& ref)
{
    refreshTiles();
    const TileArray* array = mTiles->find(ref.array);
    if (!array || ref.index >= array->tileCount()) {
        refuse(Refusal::Reason::NotATile, notATileMessage(ref));
        return;
    }
    const Shades drawing = painted(mGrid);
    const auto written = writeTileEdit(mCode, *array, ref.index, drawing);
    if (written && !written->edit.inserted.empty()) {
        // Only this tile's numbers change: the tiles are kept, with the new
        // values and the positions after the edit moved, rather than read
        // again from the whole text.
        auto patched = std::make_shared<TileArrays>(*mTiles);
        TileArray& target = *std::find_if(patched->arrays.begin(), patched->arrays.end(),
                                          [&](const TileArray& a) { return a.name == ref.array; });
        writeTile(tileBits(target.image, ref.index), drawing, target.bytes);
        edit(written->edit);
        patchTiles(*patched, target, written->edit);
        mTiles = std::move(patched);
        mTilesStale = false;
    }
    if (!written) {
        refuse(Refusal::Reason::NotEditable,
               mName + " cannot be changed: its image is " + std::to_string(array->image.width) + " × "
                   + std::to_string(array->image.height)
                   + " pixels, and only images whose width and height are multiples of 8 can be edited");
    } else {
        if (written->mappedShades)
            refuse(Refusal::Reason::ShadesMapped,
                   mName + " has two shades: grey was painted as white, dark grey as black");
    }
    refreshTiles();
    showTile(ref);
}

DocumentStateRef Document::state()
{
    return {mGrid, mName, mNames, mTable, mCode, mBrushPending};
}

void Document::noteEntry(int index)
{
    if (std::none_of(mTouched.begin(), mTouched.end(), [&](const auto& t) { return t.first == index; }))
        mTouched.emplace_back(index, mTable[static_cast<std::size_t>(index)]);
}

void Document::setEntry(int index, SpriteEntry entry)
{
    noteEntry(index);
    mTable[static_cast<std::size_t>(index)] = std::move(entry);
}

void Document::edit(const TextEdit& edit)
{
    TextEdit tight = tightened(mCode, edit);
    if (tight.removed == 0 && tight.inserted.empty())
        return;
    mEdits.backward.insert(mEdits.backward.begin(), inverseEdit(mCode, tight));
    applyEdit(mCode, tight);
    mTilesStale = true;
    mEdits.forward.push_back(std::move(tight));
}

void Document::regenerate()
{
    mBrushPending = false;
    // The name as the text will read it back: blanks before it belong to
    // the declaration's head, so " A" is the sprite "A". The drawing goes
    // to that sprite.
    mName = std::string(grammar::spriteName(mName));
    // A tile of an array is written into its own numbers, and takes no
    // entry; a name of that form that is no tile is refused, as it could
    // not be written back.
    if (const auto ref = parseArrayTileName(mName)) {
        regenerateTile(*ref);
        return;
    }
    const bool known = declaresSprite(mCode, mName);
    const auto slot = findFreeSlot(mTable);
    if (!known && !slot) {
        // A new sprite. Refuse it whole when no entry is free, so that no
        // stored sprite is overwritten and the text gains no orphan lines.
        mLastRefusal = {Refusal::Reason::TableFull, mName, {}};
        mRefused = true;
        return;
    }
    const bool tilesCurrent = !mTilesStale;
    const CodeUpdate update = updateDeclarations(mCode, mName, mGrid);
    for (const TextEdit& e : update.edits)
        edit(e);
    // New numbers in a known sprite's planes (no line added) change no byte
    // array's tiles: a text that has none needs no reading again, which
    // would scan the whole text on every press.
    const bool numbersOnly = std::none_of(update.edits.begin(), update.edits.end(), [](const TextEdit& e) {
        return e.inserted.find_first_of("\r\n") != std::string::npos;
    });
    if (known && numbersOnly && tilesCurrent && mTiles->arrays.empty() && mTiles->fitsNoLayout.empty())
        mTilesStale = false;
    // A new name is registered once the text declares it: a text that
    // could not take its declarations registers nothing.
    if (!known && !update.edits.empty()) {
        mNames.push_back(mName);
        SpriteEntry entry = mTable[static_cast<std::size_t>(*slot)];
        entry.name = mName;
        setEntry(*slot, std::move(entry));
    }
    if (update.outcome != CodeUpdate::Outcome::Updated) {
        mLastRefusal = {Refusal::Reason::MalformedDeclaration, mName, {}};
        mRefused = true;
    }
    // The drawing is stored even when the text could not take it, so that
    // nothing the user drew is lost. Only the entry the name finds is
    // written: never someone else's.
    if (const auto target = findEntry(mTable, mName)) {
        SpriteEntry entry = mTable[static_cast<std::size_t>(*target)];
        storeDrawing(mGrid, entry.shades);
        setEntry(*target, std::move(entry));
    }
}

void Document::endOpenRuns()
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
    Transaction action(*this, Transaction::Sheet, Transaction::KeepRuns);
    const StepState before = std::move(*mBrushRun);
    mBrushRun.reset();
    regenerate();
    action.commit(StepKind::Brush, &before);
}

void Document::press(int cell, MouseButton button)
{
    Transaction action(*this, Transaction::Sheet);
    if (mTools.toolPopupVisible())
        return; // while the pop-up is open, presses on the grid are ignored
    if (button == MouseButton::Left && refusesShade())
        return;
    if (button == MouseButton::Right)
        mTools.openToolPopup();
    else
        mGrid[static_cast<std::size_t>(cell)] = colour();
    // Also after a right press: brush strokes since the last press reach the
    // code text now. A press that changes no byte of the text, no entry and
    // not the list is no step.
    regenerate();
    const bool pushed = action.commit(button == MouseButton::Right ? StepKind::UpdateCode : StepKind::Paint);
    if (button == MouseButton::Left && tool() != Tool::Brush)
        mDrag = Drag{action.before(), mTouched, mEdits, pushed};
}

void Document::moveOver(int cell)
{
    // Passing over a cell that already has the colour changes nothing: no
    // step, no unsaved change.
    const Cell paint = colour();
    if (tool() != Tool::Brush || mGrid[static_cast<std::size_t>(cell)] == paint)
        return;
    Transaction action(*this, Transaction::View, Transaction::KeepRuns);
    if (refusesShade())
        return;
    if (!mBrushRun)
        mBrushRun = state().copy();
    mGrid[static_cast<std::size_t>(cell)] = paint;
    mBrushPending = true;
}

void Document::selectColour(int index)
{
    Transaction action(*this, Transaction::View);
    mTools.selectColour(index);
}

void Document::choosePen()
{
    Transaction action(*this, Transaction::View);
    mTools.choosePen();
}

void Document::chooseBrush()
{
    Transaction action(*this, Transaction::View);
    mTools.chooseBrush();
}

void Document::typeName(const std::string& name)
{
    Transaction action(*this, Transaction::View);
    mName = name;
    mBrushPending = false; // the grid now shows what is stored
    // The typed name shows the sprite it will write: blanks before it are
    // not part of it. A tile shows what its numbers hold.
    if (const auto ref = parseArrayTileName(grammar::spriteName(mName))) {
        if (!showTile(*ref)) {
            mGrid.fill(Cell::White);
            refuse(Refusal::Reason::NotATile, notATileMessage(*ref));
        }
        return;
    }
    recallTyped(mGrid, grammar::spriteName(mName), mTable);
}

void Document::chooseName(int listIndex)
{
    if (listIndex < 0 || std::size_t(listIndex) >= mNames.size() + std::size_t(mTiles->tileCount()))
        return;
    // Opened first: ending an open run may write a tile and so read the
    // tiles again.
    Transaction action(*this, Transaction::View);
    mBrushPending = false;
    if (static_cast<std::size_t>(listIndex) < mNames.size()) {
        mName = mNames[static_cast<std::size_t>(listIndex)];
        recallChosen(mGrid, mName, mTable);
        return;
    }
    int tile = listIndex - int(mNames.size());
    for (const TileArray& array : mTiles->arrays) {
        if (tile < array.tileCount()) {
            mName = array.tileName(tile);
            showTile({array.name, tile});
            return;
        }
        tile -= array.tileCount();
    }
}

void Document::clearTile()
{
    Transaction action(*this, Transaction::Sheet);
    mGrid.fill(Cell::White);
    regenerate();
    action.commit(StepKind::ClearTile);
}

void Document::removeTile()
{
    Transaction action(*this, Transaction::Sheet);
    if (currentTile()) {
        refuse(Refusal::Reason::TileOfArray, mName + " is a tile of an array: it cannot be removed");
        return;
    }
    const std::vector<TextEdit> removals = removeDeclarations(mCode, mName);
    if (removals.empty())
        return;                                      // no sprite of this name
    mName = std::string(grammar::spriteName(mName)); // the sprite removed, as the text names it
    for (const TextEdit& removal : removals)
        edit(removal);
    if (const auto entry = findEntry(mTable, mName))
        setEntry(*entry, SpriteEntry{});
    if (const auto item = std::find(mNames.rbegin(), mNames.rend(), mName); item != mNames.rend())
        mNames.erase(std::next(item).base());
    mGrid.fill(Cell::White);
    mBrushPending = false;
    action.commit(StepKind::RemoveTile);
}

std::optional<ImportRefusal> Document::importRefusal(const std::vector<Tile>& drawings) const
{
    std::vector<std::string> known;
    for (const Tile& drawing : drawings) {
        if (declaresSprite(mCode, drawing.name) || isTile(drawing.name))
            known.push_back(drawing.name);
    }
    return roomRefusal(drawings, known, freeEntries());
}

std::optional<ImportRefusal> Document::importDrawings(const std::vector<Tile>& drawings)
{
    // The run's name may take an entry: count the room after it.
    Transaction action(*this, Transaction::Sheet);
    if (auto refusal = importRefusal(drawings))
        return refusal;
    for (const Tile& drawing : drawings) {
        mName = drawing.name;
        mGrid = painted(drawing.shades);
        regenerate();
    }
    action.commit(StepKind::Import);
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
    Transaction action(*this, Transaction::Sheet);
    if (forward ? !mHistory.canRedo() : !mHistory.canUndo())
        return;
    const Step& step = forward ? mHistory.nextRedo() : mHistory.nextUndo();
    for (const int index : step.entryIndices())
        noteEntry(index);
    // The edits the step applies are the ones the observers are told of.
    const std::vector<TextEdit>& applied = forward ? step.redo(state()) : step.undo(state());
    mTilesStale = true;
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
    Transaction action(*this, Transaction::Sheet, Transaction::KeepRuns);
    reset();
    mFilePath.clear();
}

std::optional<CodeTextRefusal> Document::open(const std::string& bytes, const std::string& path,
                                              OpenReport* report)
{
    if (auto refusal = refusalForCodeText(bytes))
        return refusal;
    Transaction action(*this, Transaction::Sheet, Transaction::KeepRuns);
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
    refreshTiles();
    if (!mNames.empty()) {
        mName = mNames.front();
        recallChosen(mGrid, mName, mTable);
    } else if (!mTiles->arrays.empty()) {
        // A file of tiles alone opens on its first tile.
        mName = mTiles->arrays.front().tileName(0);
        showTile({mTiles->arrays.front().name, 0});
    }
    if (report)
        *report = std::move(found);
    return std::nullopt;
}

const std::string& Document::textToSave()
{
    Transaction action(*this, Transaction::Sheet);
    if (mBrushPending) {
        regenerate();
        action.commit(StepKind::UpdateCode);
    }
    return mCode;
}

void Document::markSaved(const std::string& path)
{
    Transaction action(*this, Transaction::View, Transaction::KeepRuns);
    mFilePath = path;
    mUnsaved = false;
    mHistory.markSaved();
}

void Document::markUnsaved()
{
    Transaction action(*this, Transaction::View, Transaction::KeepRuns);
    mUnsaved = true;
}

bool Document::isTile(std::string_view name) const
{
    const auto ref = parseArrayTileName(name);
    if (!ref)
        return false;
    const TileArray* array = mTiles->find(ref->array);
    return array && ref->index < array->tileCount();
}

std::vector<std::string> Document::listedNames() const
{
    std::vector<std::string> names = mNames;
    names.reserve(mNames.size() + std::size_t(mTiles->tileCount()));
    for (const TileArray& array : mTiles->arrays) {
        for (int i = 0; i < array.tileCount(); ++i)
            names.push_back(array.tileName(i));
    }
    return names;
}

std::vector<Shades> Document::listedDrawings() const
{
    std::vector<Shades> drawings = storedDrawings();
    for (const TileArray& array : mTiles->arrays) {
        for (Shades& tile : readTiles(array.image, array.bytes))
            drawings.push_back(tile);
    }
    return drawings;
}

int Document::listedIndex() const
{
    if (const int index = currentIndex(); index >= 0)
        return index;
    const auto tile = currentTile();
    if (!tile)
        return -1;
    int position = int(mNames.size());
    for (const TileArray& array : mTiles->arrays) {
        if (&array == tile->array)
            return position + tile->index;
        position += array.tileCount();
    }
    return -1;
}

Shades Document::storedDrawing(int listIndex) const
{
    if (static_cast<std::size_t>(listIndex) >= mNames.size()) {
        int tile = listIndex - int(mNames.size());
        for (const TileArray& array : mTiles->arrays) {
            if (tile < array.tileCount())
                return array.tile(tile);
            tile -= array.tileCount();
        }
        return Shades{};
    }
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
    const Cell paint = colour();
    if (!mDrag || mGrid[static_cast<std::size_t>(cell)] == paint)
        return;
    Transaction action(*this, Transaction::View, Transaction::KeepRuns);
    if (refusesShade())
        return;
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
    Transaction action(*this, Transaction::Sheet, Transaction::KeepRuns);
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
    // The press's step, when it pushed one, grows to take in the drag;
    // otherwise the drag is a step of its own when it changed the sheet.
    if (drag.pushed)
        mHistory.replaceLast(Step(StepKind::Paint, drag.before, touched, state(), std::move(edits)));
    else if (action.changed())
        mHistory.push(Step(StepKind::Paint, drag.before, touched, state(), std::move(edits)));
}

void Document::closeToolPopup()
{
    Transaction action(*this, Transaction::View);
    mTools.closeToolPopup();
}

std::vector<std::string> Document::importReplacedNames(const std::vector<Tile>& drawings) const
{
    std::vector<std::string> replaced;
    for (auto tile = drawings.begin(); tile != drawings.end(); ++tile) {
        const std::string& name = tile->name;
        const bool ofArray = isTile(name);
        if (std::find(replaced.begin(), replaced.end(), name) != replaced.end()
            || (!ofArray && !declaresSprite(mCode, name)))
            continue;
        // A name imported more than once ends with its last drawing.
        const auto last = std::find_if(drawings.rbegin(), drawings.rend(),
                                       [&](const Tile& other) { return other.name == name; });
        Shades now{};
        if (name == mName && mBrushRun) {
            // Brushed cells reach the code before the import: the grid is the
            // drawing, and an unpainted cell matches no imported shade.
            now = mGrid;
        } else if (ofArray) {
            const auto ref = parseArrayTileName(name);
            now = mTiles->find(ref->array)->tile(ref->index);
        } else if (const auto entry = findEntry(mTable, name)) {
            now = mTable[static_cast<std::size_t>(*entry)].shades;
        }
        if (painted(last->shades) != now)
            replaced.push_back(name);
    }
    return replaced;
}

} // namespace bitloom
