#pragma once

#include "codegen/generate.h"
#include "editormodel.h"
#include "history.h"
#include "tilesheet.h"

#include <array>
#include <functional>
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
    ToolsChanged = 1u << 5,    // colour, tool, pop-up, tool borders, marker
    ModifiedChanged = 1u << 6, // unsaved changes appeared or went
    HistoryChanged = 1u << 7,  // what Undo and Redo would do
    FileChanged = 1u << 8,     // the file the document belongs to
    Refused = 1u << 9,         // a regeneration was refused: see lastRefusal()
};
using Changes = unsigned;

// A regeneration that could not do all it was asked, and for which name.
struct Refusal {
    GenerateResult result;
    std::string name;
};

// What opening a code text could not take in.
struct OpenReport {
    std::vector<int> unreadableLines;       // 1-based, in order
    std::vector<std::string> notRegistered; // names beyond the table's entries
    bool empty() const { return unreadableLines.empty() && notRegistered.empty(); }
};

// The whole editing state of one sheet of sprites, and every user action on
// it as one call: the grid, the current name, the name list, the sprite
// table, the code text, the selected colour and tool, the tool pop-up, the
// file it belongs to, unsaved changes and the undo history. Windows mirror
// it through observers and forward their events here.
class Document {
public:
    using Observer = std::function<void(Changes)>;

    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    void addObserver(Observer observer) { mObservers.push_back(std::move(observer)); }

    // Editing. A press, Clear Tile, Remove Tile, an import and each run of
    // brush painting are undoable steps.
    void press(int cell, MouseButton button, float x = 0, float y = 0);
    void moveOver(int cell);
    void selectColour(int index);
    void choosePen();
    void chooseBrush();
    void hoverPen();
    void hoverBrush();
    void typeName(const std::string& name);
    void chooseName(int listIndex);
    void clearTile();
    void removeTile();
    // Registers and generates each drawing as if typed, drawn and pressed,
    // as one step. Refused whole (false) when the new names need more
    // entries than are free.
    bool importDrawings(const std::vector<Tile>& drawings);
    void undo();
    void redo();

    // Files. The file's content is exactly the code text.
    void newDocument();
    // Makes `bytes` the code text and registers the sprites it declares.
    // Returns why it cannot, leaving the document untouched.
    std::optional<std::string> open(const std::string& bytes, const std::string& path, OpenReport* report = nullptr);
    // The text to save: cells brushed since the last regeneration are first
    // regenerated as a press would, so the file holds what is on screen.
    const std::string& textToSave();
    // The text was written to `path`.
    void markSaved(const std::string& path);

    // State.
    const Grid& grid() const { return mEditor.grid(); }
    const Palette& palette() const { return mEditor.palette(); }
    const EditorModel& editor() const { return mEditor; }
    Code selColor() const { return mEditor.module().selColor; }
    Tool selTool() const { return mEditor.module().selTool; }
    const std::string& name() const { return mName; }
    const std::vector<std::string>& names() const { return mNames; }
    const SpriteTable& table() const { return mEditor.module().spriteTable; }
    const Module1& module() const { return mEditor.module(); }
    const std::string& code() const { return mCode; }
    const std::string& filePath() const { return mFilePath; }
    // Cells brushed in the open run are unsaved changes too.
    bool modified() const { return mBrushRun.has_value() || mHistory.modified(); }
    bool brushPending() const { return mBrushPending; }
    bool canUndo() const { return mBrushRun || mHistory.canUndo(); }
    bool canRedo() const { return !mBrushRun && mHistory.canRedo(); }
    // "Paint", "Clear Tile", ... of the step Undo or Redo would take back.
    std::string undoName() const;
    std::string redoName() const;
    std::optional<StepKind> undoKind() const;
    std::optional<StepKind> redoKind() const;
    const Refusal& lastRefusal() const { return mLastRefusal; }

private:
    class NameList;
    class TextPane;
    class Notifier;

    DocumentStateRef state();
    void regenerate();
    void record(StepKind kind, const DocumentState& before);
    // Notes that the action may change entry `index`, keeping its value.
    void touch(std::optional<int> index);
    void endBrushRun();
    // Undoes (forward false) or redoes the next step.
    void retrace(bool forward);
    void reset();

    EditorModel mEditor;
    std::string mName = "Sprite";
    std::vector<std::string> mNames;
    std::string mCode;
    std::string mFilePath;
    bool mBrushPending = false;
    std::optional<DocumentState> mBrushRun; // the state before the open brush run
    TouchedEntries mTouched;                // by the current action
    bool mTableReplaced = false;            // the current action put entries back or anew
    History mHistory;
    Refusal mLastRefusal{GenerateResult::Updated, {}};
    bool mRefused = false;
    std::vector<Observer> mObservers;
};

} // namespace bitloom
