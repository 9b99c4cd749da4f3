#include "document.h"

#include "codegen/declaration.h"
#include "codegen/reader.h"
#include "storerecall.h"

#include <algorithm>
#include <tuple>

namespace bitloom {

// The name box as the updater and the recalls see it: the document's name
// and list.
class Document::NameList final : public NameBox {
public:
    explicit NameList(Document& document) : mDocument(document) {}
    std::string text() const override { return mDocument.mName; }
    void addItem(const std::string& name) override { mDocument.mNames.push_back(name); }

private:
    Document& mDocument;
};

// The code pane as the updater sees it: the document's text.
class Document::TextPane final : public CodePane {
public:
    explicit TextPane(Document& document) : mDocument(document) {}
    const std::string& text() const override { return mDocument.mCode; }
    void setText(const std::string& text) override { mDocument.mCode = text; }

private:
    Document& mDocument;
};

// Compares what the views show before and after one action and tells the
// observers what changed. Only the actions that may change the sheet (the
// code text, the list, the table) keep a copy of it to compare; the others,
// pointer moves among them, stay cheap however large the text.
class Document::Notifier {
public:
    enum Scope { View, Sheet };

    Notifier(Document& document, Scope scope)
        : mDocument(document)
        , mGrid(document.grid())
        , mName(document.mName)
        , mToolPopup(tools(document))
        , mModified(document.modified())
        , mHistory(history(document))
        , mFile(document.mFilePath)
    {
        if (scope == Sheet)
            mBefore.emplace(document.state().copy());
        document.mRefused = false;
        document.mTouched.clear();
        document.mTableReplaced = false;
    }

    // The state before the action, for its undo step (Sheet scope only).
    const DocumentState& before() const { return *mBefore; }

    ~Notifier()
    {
        const Document& d = mDocument;
        Changes changes = 0;
        const auto note = [&](bool changed, Change change) {
            if (changed)
                changes |= change;
        };
        note(mGrid != d.grid(), CellsChanged);
        note(mName != d.mName, NameChanged);
        if (mBefore) {
            note(mBefore->names != d.mNames, ListChanged);
            note(mBefore->code != d.mCode, CodeChanged);
            note(d.mTableReplaced || touchedChanged(d), TableChanged);
        }
        note(mToolPopup != tools(d), ToolsChanged);
        note(mModified != d.modified(), ModifiedChanged);
        note(mHistory != history(d), HistoryChanged);
        note(mFile != d.mFilePath, FileChanged);
        note(d.mRefused, Refused);
        if (changes == 0)
            return;
        for (const Observer& observer : d.mObservers)
            observer(changes);
    }

private:
    using Tools = std::tuple<Code, Tool, bool, float, float, Border, Border, Code>;
    using HistoryView = std::tuple<std::optional<StepKind>, std::optional<StepKind>>;

    static Tools tools(const Document& d)
    {
        const EditorModel& e = d.mEditor;
        return {e.module().selColor, e.module().selTool, e.toolPopupVisible(), e.toolPopupLeft(), e.toolPopupTop(),
                e.penBorder(), e.brushBorder(), e.markerTop()};
    }
    static HistoryView history(const Document& d)
    {
        return {d.undoKind(), d.redoKind()};
    }
    static bool touchedChanged(const Document& d)
    {
        return std::any_of(d.mTouched.begin(), d.mTouched.end(), [&](const auto& touched) {
            const SpriteEntry& now = d.table()[static_cast<std::size_t>(touched.first)];
            return now.codes != touched.second.codes || now.name != touched.second.name;
        });
    }

    Document& mDocument;
    Grid mGrid;
    std::string mName;
    std::optional<DocumentState> mBefore;
    Tools mToolPopup;
    bool mModified;
    HistoryView mHistory;
    std::string mFile;
};

Document::Document()
{
    mEditor.setGenerate([this] { regenerate(); });
    mEditor.resetTools();
}

void Document::reset()
{
    mTableReplaced = true;
    mEditor = EditorModel();
    mEditor.setGenerate([this] { regenerate(); });
    mEditor.resetTools();
    mName = "Sprite";
    mNames.clear();
    mCode.clear();
    mBrushPending = false;
    mBrushRun.reset();
    mHistory.clear();
}

DocumentStateRef Document::state()
{
    return {mEditor.mutableGrid(), mName, mNames, mEditor.module().spriteTable, mCode, mBrushPending};
}

void Document::touch(std::optional<int> index)
{
    if (!index || std::any_of(mTouched.begin(), mTouched.end(), [&](const auto& t) { return t.first == *index; }))
        return;
    mTouched.emplace_back(*index, table()[static_cast<std::size_t>(*index)]);
}

void Document::regenerate()
{
    // The updater names the first free entry when it registers the name,
    // and the store writes the entry the name finds: nothing else.
    touch(findFreeSlot(table()));
    touch(findEntry(table(), mName));
    NameList names(*this);
    TextPane pane(*this);
    const GenerateResult result = generate(grid(), palette(), mEditor.module(), names, pane);
    mBrushPending = false;
    if (result != GenerateResult::Updated) {
        mLastRefusal = {result, mName};
        mRefused = true;
    }
}

void Document::record(StepKind kind, const DocumentState& before)
{
    mHistory.push(Step(kind, before, mTouched, state()));
}

void Document::endBrushRun()
{
    if (!mBrushRun)
        return;
    const DocumentState before = std::move(*mBrushRun);
    mBrushRun.reset();
    record(StepKind::Brush, before);
}

void Document::press(int cell, MouseButton button, float x, float y)
{
    Notifier notifier(*this, Notifier::Sheet);
    endBrushRun();
    if (mEditor.toolPopupVisible())
        return; // ignored while the pop-up is open, as the editor does
    mEditor.press(cell, button, x, y);
    record(button == MouseButton::Right ? StepKind::UpdateCode : StepKind::Paint, notifier.before());
}

void Document::moveOver(int cell)
{
    // Passing over a cell that already has the colour changes nothing: no
    // step, no unsaved change.
    if (mEditor.module().selTool != Tool::Brush
        || grid()[static_cast<std::size_t>(cell)] == palette()[static_cast<std::size_t>(selColor())])
        return;
    Notifier notifier(*this, Notifier::View);
    if (!mBrushRun)
        mBrushRun = state().copy();
    mEditor.moveOver(cell);
    mBrushPending = true;
}

void Document::selectColour(int index)
{
    Notifier notifier(*this, Notifier::View);
    endBrushRun();
    mEditor.selectColour(index);
}

void Document::choosePen()
{
    Notifier notifier(*this, Notifier::View);
    endBrushRun();
    mEditor.choosePen();
}

void Document::chooseBrush()
{
    Notifier notifier(*this, Notifier::View);
    endBrushRun();
    mEditor.chooseBrush();
}

void Document::hoverPen()
{
    Notifier notifier(*this, Notifier::View);
    mEditor.hoverPen();
}

void Document::hoverBrush()
{
    Notifier notifier(*this, Notifier::View);
    mEditor.hoverBrush();
}

void Document::typeName(const std::string& name)
{
    Notifier notifier(*this, Notifier::View);
    endBrushRun();
    mName = name;
    mEditor.recallTyped(NameList(*this));
    mBrushPending = false; // the grid now shows what is stored
}

void Document::chooseName(int listIndex)
{
    if (listIndex < 0 || static_cast<std::size_t>(listIndex) >= mNames.size())
        return;
    Notifier notifier(*this, Notifier::View);
    endBrushRun();
    mName = mNames[static_cast<std::size_t>(listIndex)];
    mEditor.recallChosen(NameList(*this));
    mBrushPending = false;
}

void Document::clearTile()
{
    Notifier notifier(*this, Notifier::Sheet);
    endBrushRun();
    mEditor.clearTile();
    record(StepKind::ClearTile, notifier.before());
}

void Document::removeTile()
{
    Notifier notifier(*this, Notifier::Sheet);
    endBrushRun();
    const auto light = findDeclaration(mCode, mName, Plane::Light);
    if (light == kNotFound)
        return; // no sprite of this name

    // Each line goes with one line feed: the one before it, or for the
    // text's first line the one after it. A byte-order mark before the
    // first line stays.
    const auto removeLine = [this](std::ptrdiff_t at) {
        auto start = static_cast<std::size_t>(at);
        std::size_t end = std::min(mCode.find('\n', start), mCode.size());
        if (start > firstLineStart(mCode))
            --start;
        else if (end < mCode.size())
            ++end;
        mCode.erase(start, end - start);
    };
    removeLine(light);
    if (const auto dark = findDeclaration(mCode, mName, Plane::Dark); dark != kNotFound)
        removeLine(dark);

    if (const auto item = std::find(mNames.rbegin(), mNames.rend(), mName); item != mNames.rend())
        mNames.erase(std::next(item).base());
    if (const auto entry = findEntry(table(), mName)) {
        touch(entry);
        mEditor.module().spriteTable[static_cast<std::size_t>(*entry)] = SpriteEntry{};
    }
    mEditor.mutableGrid().fill(palette()[0]);
    mBrushPending = false;
    record(StepKind::RemoveTile, notifier.before());
}

bool Document::importDrawings(const std::vector<Tile>& drawings)
{
    Notifier notifier(*this, Notifier::Sheet);
    endBrushRun();
    std::vector<std::string> fresh;
    for (const Tile& drawing : drawings) {
        if (findDeclaration(mCode, drawing.name, Plane::Light) == kNotFound
            && std::find(fresh.begin(), fresh.end(), drawing.name) == fresh.end())
            fresh.push_back(drawing.name);
    }
    const auto freeEntries = static_cast<std::size_t>(
        std::count_if(table().begin(), table().end(), [](const SpriteEntry& e) { return e.name.empty(); }));
    if (fresh.size() > freeEntries)
        return false;

    for (const Tile& drawing : drawings) {
        mName = drawing.name;
        for (std::size_t k = 0; k < drawing.codes.size(); ++k)
            mEditor.mutableGrid()[k] = palette()[static_cast<std::size_t>(drawing.codes[k] & 3)];
        regenerate();
    }
    record(StepKind::Import, notifier.before());
    return true;
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
    Notifier notifier(*this, Notifier::Sheet);
    endBrushRun();
    if (forward ? !mHistory.canRedo() : !mHistory.canUndo())
        return;
    if (forward) {
        mHistory.nextRedo().redo(state());
        mTableReplaced = mHistory.nextRedo().changesTable();
        mHistory.stepForward();
    } else {
        mHistory.nextUndo().undo(state());
        mTableReplaced = mHistory.nextUndo().changesTable();
        mHistory.stepBack();
    }
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

std::string Document::undoName() const
{
    const auto kind = undoKind();
    return kind ? std::string(stepName(*kind)) : std::string();
}

std::string Document::redoName() const
{
    const auto kind = redoKind();
    return kind ? std::string(stepName(*kind)) : std::string();
}

void Document::newDocument()
{
    Notifier notifier(*this, Notifier::Sheet);
    reset();
    mFilePath.clear();
}

std::optional<std::string> Document::open(const std::string& bytes, const std::string& path, OpenReport* report)
{
    if (auto refusal = refusalForCodeText(bytes))
        return refusal;
    Notifier notifier(*this, Notifier::Sheet);
    reset();
    mCode = bytes;
    mFilePath = path;

    OpenReport found;
    SpriteTable& table = mEditor.module().spriteTable;
    for (DeclaredSprite& sprite : readDeclarations(mCode)) {
        found.unreadableLines.insert(found.unreadableLines.end(), sprite.unreadableLines.begin(),
                                     sprite.unreadableLines.end());
        // Registered as a first press under this name would: a list item
        // and the first free entry, then the drawing stored under the name.
        const auto slot = findFreeSlot(table);
        if (!slot) {
            found.notRegistered.push_back(std::move(sprite.name));
            continue;
        }
        mNames.push_back(sprite.name);
        table[static_cast<std::size_t>(*slot)].name = sprite.name;
        if (const auto entry = findEntry(table, sprite.name))
            table[static_cast<std::size_t>(*entry)].codes = sprite.codes;
    }
    std::sort(found.unreadableLines.begin(), found.unreadableLines.end());
    if (!mNames.empty()) {
        mName = mNames.front();
        mEditor.recallChosen(NameList(*this));
    }
    if (report)
        *report = std::move(found);
    return std::nullopt;
}

const std::string& Document::textToSave()
{
    Notifier notifier(*this, Notifier::Sheet);
    endBrushRun();
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
    mHistory.markSaved();
}

} // namespace bitloom
