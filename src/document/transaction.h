#pragma once

// The document's transaction, shared by the files that define its actions.
#include "document.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace bitloom {

// One user action on the document, from its start to the observers' notice.
// Opening it ends an open brush run and an open drag first (each an action
// of its own), then notes what it needs of the state before. The action
// records what it does as it goes (the text edits, the table entries it
// writes through setEntry, a whole replacement), so that commit() can tell
// whether the sheet changed without comparing whole texts, and push one
// undo step only then. Closing it tells the observers once what changed.
class Document::Transaction {
public:
    enum Scope {
        View, // changes no more than the grid, the name and the tools
        Sheet // may change the text, the table or the list
    };
    enum Runs { EndRuns, KeepRuns };

    Transaction(Document& document, Scope scope, Runs runs = EndRuns)
        : mDocument(opened(document, runs)),
          mGrid(document.mGrid),
          mName(document.mName),
          mTools(document.mTools),
          mModified(document.modified()),
          mHistory(history(document)),
          mFile(document.mFilePath),
          mTiles(document.mTiles)
    {
        if (scope == Sheet)
            mBefore.emplace(document.state().copy());
        document.mRefused = false;
        document.mTouched.clear();
        document.mEdits = {};
        document.mTableReplaced = false;
        document.mCodeReplaced = false;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // The state before the action, for its undo step (Sheet scope only).
    const StepState& before() const { return *mBefore; }

    // Whether the action changed the sheet: the text, a table entry or the
    // name list. The grid alone is no change: it holds nothing a file keeps.
    bool changed() const
    {
        const Document& d = mDocument;
        if (d.mCodeReplaced || d.mTableReplaced || !d.mEdits.forward.empty())
            return true;
        const bool entryChanged = std::any_of(d.mTouched.begin(), d.mTouched.end(), [&](const auto& touched) {
            const SpriteEntry& now = d.mTable[static_cast<std::size_t>(touched.first)];
            return now.name != touched.second.name || now.shades != touched.second.shades;
        });
        return entryChanged || (mBefore && mBefore->names != d.mNames);
    }

    // Pushes the action as one undo step of `kind`, from `from` or the state
    // when the action began, when it changed the sheet. Returns whether it
    // pushed one.
    bool commit(StepKind kind, const StepState* from = nullptr)
    {
        if (!changed())
            return false;
        Document& d = mDocument;
        d.mHistory.push(Step(kind, from ? *from : *mBefore, d.mTouched, d.state(), d.mEdits));
        return true;
    }

    ~Transaction()
    {
        Document& d = mDocument;
        // Tiles are read from the text: again whenever it changed (edits,
        // undo, redo and a replacement each mark them so).
        d.refreshTiles();
        DocumentChange change{0, d.mEdits.forward, d.mCodeReplaced, {}};
        const auto note = [&](bool changed, Change what) {
            if (changed)
                change.changes |= what;
        };
        note(mGrid != d.mGrid, CellsChanged);
        note(mName != d.mName, NameChanged);
        if (mBefore) {
            note(mBefore->names != d.mNames, ListChanged);
            note(d.mCodeReplaced || !d.mEdits.forward.empty(), CodeChanged);
            change.changedSprites = changedSprites(d);
            note(d.mTableReplaced || !change.changedSprites.empty(), TableChanged);
        }
        if (d.mTiles != mTiles)
            noteTiles(d, change);
        note(!(mTools == d.mTools), ToolsChanged);
        note(mModified != d.modified(), ModifiedChanged);
        note(mHistory != history(d), HistoryChanged);
        note(mFile != d.mFilePath, FileChanged);
        note(d.mRefused, Refused);
        if (change.changes != 0)
            d.mObservers.notify(change);
    }

private:
    using HistoryView = std::tuple<std::optional<StepKind>, std::optional<StepKind>>;

    static Document& opened(Document& document, Runs runs)
    {
        if (runs == EndRuns)
            document.endOpenRuns();
        return document;
    }

    static HistoryView history(const Document& d) { return {d.undoKind(), d.redoKind()}; }

    // The tiles the action changed, as list positions after the pair
    // sprites; a list of tiles of another shape changes the list.
    void noteTiles(const Document& d, DocumentChange& change) const
    {
        const auto& before = mTiles->arrays;
        const auto& after = d.mTiles->arrays;
        const bool sameShape =
            before.size() == after.size()
            && std::equal(before.begin(), before.end(), after.begin(), [](const auto& a, const auto& b) {
                   return a.name == b.name && a.tileCount() == b.tileCount();
               });
        if (!sameShape) {
            change.changes |= ListChanged | TableChanged;
            return;
        }
        int position = int(d.mNames.size());
        const std::size_t firstTile = change.changedSprites.size();
        for (std::size_t a = 0; a < after.size(); ++a) {
            const TileArray& was = before[a];
            const TileArray& now = after[a];
            if (was.image == now.image && was.bytes == now.bytes) {
                position += now.tileCount();
                continue;
            }
            for (int i = 0; i < now.tileCount(); ++i, ++position) {
                bool differs = !(was.image == now.image);
                for (const int b : differs ? std::vector<int>{} : tileBits(now.image, i).bytes)
                    differs = differs || was.bytes[std::size_t(b)] != now.bytes[std::size_t(b)];
                if (differs)
                    change.changedSprites.push_back(position);
            }
        }
        if (change.changedSprites.size() > firstTile)
            change.changes |= TableChanged;
    }

    // The list positions of the names whose entries the action changed.
    static std::vector<int> changedSprites(const Document& d)
    {
        std::vector<int> positions;
        for (const auto& [index, was] : d.mTouched) {
            const SpriteEntry& now = d.mTable[static_cast<std::size_t>(index)];
            if (now.shades == was.shades && now.name == was.name)
                continue;
            for (const std::string* name : {&now.name, &was.name}) {
                const auto item = std::find(d.mNames.rbegin(), d.mNames.rend(), *name);
                if (!name->empty() && item != d.mNames.rend())
                    positions.push_back(int(d.mNames.rend() - item) - 1);
            }
        }
        std::sort(positions.begin(), positions.end());
        positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
        return positions;
    }

    Document& mDocument;
    Grid mGrid;
    std::string mName;
    ToolState mTools;
    bool mModified;
    HistoryView mHistory;
    std::string mFile;
    std::optional<StepState> mBefore;
    std::shared_ptr<const TileArrays> mTiles;
};

} // namespace bitloom
