#pragma once

#include "codegen/reader.h"
#include "codegen/textedit.h"
#include "codegen/tilearrays.h"
#include "history.h"
#include "model/tilesheet.h"
#include "subscription.h"
#include "tools.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace bitloom {

// What an action changed, for the views that mirror the document.
enum Change : unsigned {
    CellsChanged = 1u << 0,    // the grid
    NameChanged = 1u << 1,     // the current sprite name
    ListChanged = 1u << 2,     // the name list
    CodeChanged = 1u << 3,     // the code text
    TableChanged = 1u << 4,    // stored drawings or entry names
    ToolsChanged = 1u << 5,    // colour, tool, pop-up
    ModifiedChanged = 1u << 6, // unsaved changes appeared or went
    HistoryChanged = 1u << 7,  // what Undo and Redo would do
    FileChanged = 1u << 8,     // the file the document belongs to
    Refused = 1u << 9,         // a regeneration was refused: see lastRefusal()
};
using Changes = unsigned;

// What one action changed, as the observers are told.
struct DocumentChange {
    Changes changes = 0;
    // With CodeChanged: the edits the action made, in order, or, when the
    // text was replaced whole (New, Open), none and `codeReplaced`.
    const std::vector<TextEdit>& codeEdits;
    bool codeReplaced = false;
    // With TableChanged: the list positions whose stored drawings changed.
    // With ListChanged too, every position may have changed.
    std::vector<int> changedSprites;
};

// A regeneration that could not do all it was asked, and for which name.
struct Refusal {
    enum class Reason {
        TableFull,            // a new name found no free entry: nothing changed
        MalformedDeclaration, // a declaration could not be rewritten: the
                              // text stays, the drawing is stored
        // Tiles of arrays; `message` says it in the status bar.
        NotATile,     // a name NAME[i] that is no tile: nothing written
        TwoShades,    // grey painted on a 1-bit tile: nothing changed
        NotEditable,  // an image whose size is no multiple of 8: nothing changed
        ShadesMapped, // a 1-bit tile took grey as white, dark grey as black
        TileOfArray,  // Remove Tile on a tile of an array: nothing changed
    };
    Reason reason;
    std::string name;
    std::string message; // for the tile reasons
};

// What opening a code text could not take in.
struct OpenReport {
    std::vector<int> unreadableLines;       // 1-based, in order
    std::vector<std::string> notRegistered; // names beyond the table's entries
    bool empty() const { return unreadableLines.empty() && notRegistered.empty(); }
};

// The whole editing state of one sheet of sprites, and every user action on
// it as one call: the grid, the current name, the name list, the sprite
// table, the code text, the tools, the file it belongs to, unsaved changes
// and the undo history. Windows mirror it through observers and forward
// their events here; nothing here calls back into them but the observers.
class Document {
public:
    using Observer = std::function<void(const DocumentChange&)>;

    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The observer is told of every action that changes something until the
    // returned subscription is destroyed.
    Subscription subscribe(Observer observer) { return mObservers.subscribe(std::move(observer)); }

    // Editing. A press, Clear Tile, Remove Tile, an import, each run of
    // brush painting and the sprite commands are undoable steps, each pushed
    // only when it changed the text, the table or the name list: an action
    // that changes none of them leaves the history and "modified" alone.
    void press(int cell, MouseButton button);
    void moveOver(int cell);
    void selectColour(int index);
    void choosePen();
    void chooseBrush();
    void typeName(const std::string& name);
    void chooseName(int listIndex);
    void clearTile();
    void removeTile();
    // Why these drawings cannot be imported: more new names than free
    // entries. Drawings whose names are sprites of the text reuse theirs.
    std::optional<ImportRefusal> importRefusal(const std::vector<Tile>& drawings) const;
    // Registers and generates each drawing as if typed, drawn and pressed,
    // as one step. Refused whole, changing nothing, as importRefusal says.
    std::optional<ImportRefusal> importDrawings(const std::vector<Tile>& drawings);
    // Closes the tool pop-up without choosing a tool.
    void closeToolPopup();
    void undo();
    void redo();

    // The pointer left the grid: an open brush run ends, as it does at the
    // start of every other action, and its cells reach the code text.
    void leaveGrid();
    // With the pen, or before any tool is chosen, a left press starts a
    // drag: moving onto a cell with the button held paints it. The release
    // regenerates once more when the drag painted cells; the press and its
    // drag are one step. Any other action ends the drag as the release does.
    void dragOver(int cell);
    void release();

    // Why a rename did nothing.
    enum class RenameRefusal { EmptyName, NameTaken, LineBreak, NoSprite, Unreadable };
    // Gives the current sprite another name: the identifiers of its two
    // declarations, its list item and its table entry, each in its place.
    std::optional<RenameRefusal> renameSprite(const std::string& newName);
    // The name a duplicate of the current sprite gets: "<name>_copy", or the
    // first of "<name>_copy2", "<name>_copy3", ... that is no sprite yet.
    // A tile NAME[i] of an array gives "NAME_i", else "NAME_i_copy", ...
    std::string duplicateName() const;
    // A new sprite of that name with the current drawing, which becomes the
    // current sprite. Refused as a new name is when the table is full.
    void duplicateSprite();
    // Transforms of the current drawing; each regenerates as a press does.
    // Unpainted cells count as white.
    void flipHorizontally();
    void flipVertically();
    void rotateClockwise();
    void rotateAnticlockwise();
    // One cell up, down, left or right, with wrap: `rows` and `columns` are
    // -1, 0 or 1.
    void shiftDrawing(int rows, int columns);
    void invertShades();
    // Replaces the current drawing and regenerates as a press does.
    void pasteDrawing(const Shades& shades);
    // The current sprite's two declarations as the code text holds them, or
    // as they would be generated when the name is not yet a sprite. Copying
    // is an action: an open brush run ends first.
    std::string spriteText();

    // Tiles of arrays. The document reads them from its text and the user's
    // layout choices, again after every change of the text. Changing the
    // choices changes no byte and is no step: the tiles are read again.
    void setLayoutChooser(LayoutChooser chooser);
    const TileArrays& tileArrays() const { return *mTiles; }
    // The array and index of the current sprite when it is a tile of an
    // array, or none.
    struct TileRef {
        const TileArray* array;
        int index;
    };
    std::optional<TileRef> currentTile() const;
    // Whether `name` is NAME[i] of a tile of an array.
    bool isTile(std::string_view name) const;
    // The current tile's layout and where it came from, or empty.
    std::string layoutText() const;
    // "12 of 101 sprites", with ", 256 tiles in 2 arrays" when the text has
    // tile arrays.
    std::string countText() const;

    // Files. The file's content is exactly the code text.
    void newDocument();
    // Makes `bytes` the code text and registers the sprites it declares.
    // Returns why it cannot, leaving the document untouched.
    std::optional<CodeTextRefusal> open(const std::string& bytes, const std::string& path,
                                        OpenReport* report = nullptr);
    // The text to save: cells brushed since the last regeneration are first
    // regenerated as a press would, so the file holds what is on screen.
    const std::string& textToSave();
    // The text was written to `path`.
    void markSaved(const std::string& path);
    // The file no longer holds the text (it was deleted or replaced, or the
    // text was recovered after a crash): there are unsaved changes until the
    // next save, whatever Undo and Redo do.
    void markUnsaved();

    // State.
    const Grid& grid() const { return mGrid; }
    const ToolState& tools() const { return mTools; }
    Cell colour() const { return mTools.colour(); }
    Tool tool() const { return mTools.tool(); }
    const std::string& name() const { return mName; }
    const std::vector<std::string>& names() const { return mNames; }
    const SpriteTable& table() const { return mTable; }
    const std::string& code() const { return mCode; }
    const std::string& filePath() const { return mFilePath; }
    // Cells brushed in the open run are unsaved changes too.
    bool modified() const { return mUnsaved || mBrushRun.has_value() || mHistory.modified(); }
    // Cells brushed since the last regeneration: the code text does not hold
    // them yet, and saving regenerates first.
    bool brushPending() const { return mBrushPending; }
    bool canUndo() const { return mBrushRun || mHistory.canUndo(); }
    bool canRedo() const { return !mBrushRun && mHistory.canRedo(); }
    // How many steps Undo can take back, an open brush run not counted.
    std::size_t undoDepth() const { return mHistory.position(); }
    // The step Undo or Redo would take back or do again.
    std::optional<StepKind> undoKind() const;
    std::optional<StepKind> redoKind() const;
    const Refusal& lastRefusal() const { return mLastRefusal; }

    // Queries for the views. The list the views show holds the names of the
    // pair sprites, then NAME[i] of every tile of every array; chooseName()
    // takes positions in it.
    std::vector<std::string> listedNames() const;
    // The drawing of every listed name, in list order.
    std::vector<Shades> listedDrawings() const;
    // The list position of the current name, or -1.
    int listedIndex() const;
    // The stored drawing of every pair sprite, in the order of names().
    std::vector<Shades> storedDrawings() const;
    // The drawing of the name at `listIndex` (a tile's from the text).
    Shades storedDrawing(int listIndex) const;
    // The position of the current name in names() (its last, as its entry
    // is the last of that name), or -1.
    int currentIndex() const;
    int freeEntries() const;
    // The sprites of the text whose drawings importing these drawings would
    // change, each name once, in the drawings' order.
    std::vector<std::string> importReplacedNames(const std::vector<Tile>& drawings) const;

private:
    class Transaction;

    DocumentStateRef state();
    // Reads the tile arrays again when the text changed since.
    void refreshTiles();
    void refuse(Refusal::Reason reason, std::string message);
    // Writes the grid into the current tile's numbers; the grid then shows
    // what the text holds.
    void regenerateTile(const ArrayTileRef& ref);
    // Brings the tiles up to a rewrite of the numbers of `written` (whose
    // bytes already hold the new values) that the text has taken.
    void patchTiles(TileArrays& tiles, TileArray& written, const TextEdit& rewrite) const;
    // Shows tile `ref` in the grid; false when it is no tile.
    bool showTile(const ArrayTileRef& ref);
    // Grey or dark grey would be painted on a 1-bit tile: refused, and said.
    bool refusesShade();
    // Writes the grid into the current sprite's declarations, registering
    // the name first when it is new, then stores the drawing.
    void regenerate();
    void edit(const TextEdit& edit);
    // Writes table entry `index`, keeping its value before the action for
    // the action's step and observers. Every write of an entry goes here.
    void setEntry(int index, SpriteEntry entry);
    // Notes the value of entry `index` before the action changes it.
    void noteEntry(int index);
    // Ends an open drag and an open brush run, each as an action of its own.
    void endOpenRuns();
    void commitBrushRun();
    void endDrag();
    // Replaces the drawing by what `transform` makes of the painted grid
    // (unpainted cells as white) and regenerates as a press does.
    template <typename Transform>
    void transformDrawing(StepKind kind, Transform transform);
    // Undoes (forward false) or redoes the next step.
    void retrace(bool forward);
    void reset();

    Grid mGrid = initialGrid();
    ToolState mTools;
    std::string mName = "Sprite";
    std::vector<std::string> mNames;
    SpriteTable mTable;
    std::string mCode;
    std::string mFilePath;
    bool mBrushPending = false;
    bool mUnsaved = false;              // see markUnsaved()
    std::optional<StepState> mBrushRun; // the state before the open brush run
    // A pen press whose button is still held: what its step holds, so that
    // the release can make the press and its drag one step.
    struct Drag {
        StepState before;
        TouchedEntries touched;
        EditRecord edits;
        bool pushed = false; // the press pushed a step, which the release extends
        bool painted = false;
    };
    std::optional<Drag> mDrag;
    // What the current action did, for its step and its observers.
    TouchedEntries mTouched;
    EditRecord mEdits;
    bool mTableReplaced = false; // entries were put back or anew
    bool mCodeReplaced = false;  // the text was replaced whole
    History mHistory;
    Refusal mLastRefusal{Refusal::Reason::TableFull, {}, {}};
    LayoutChooser mChooser;
    std::shared_ptr<const TileArrays> mTiles = std::make_shared<const TileArrays>();
    bool mTilesStale = false;
    bool mRefused = false;
    Observers<DocumentChange> mObservers;
};

} // namespace bitloom
