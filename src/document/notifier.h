#pragma once

// The document's notifier, shared by the files that define its actions.
#include "document.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace bitloom {

// Tells the observers what one action changed. Only the cheap parts of the
// state are compared (the grid, the name, the tools); what an action does to
// the sheet it records as it goes: the text edits, the touched entries and
// whether the list was replaced. Nothing copies the code text.
class Document::Notifier {
public:
    enum Scope { View, Sheet };

    Notifier(Document& document, Scope scope)
        : mDocument(document),
          mGrid(document.mGrid),
          mName(document.mName),
          mTools(document.mTools),
          mModified(document.modified()),
          mHistory(history(document)),
          mFile(document.mFilePath)
    {
        if (scope == Sheet)
            mBefore.emplace(document.state().copy());
        document.mRefused = false;
        document.mTouched.clear();
        document.mEdits = {};
        document.mTableReplaced = false;
        document.mCodeReplaced = false;
    }

    // The state before the action, for its undo step (Sheet scope only).
    const StepState& before() const { return *mBefore; }

    ~Notifier()
    {
        const Document& d = mDocument;
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
        note(!(mTools == d.mTools), ToolsChanged);
        note(mModified != d.modified(), ModifiedChanged);
        note(mHistory != history(d), HistoryChanged);
        note(mFile != d.mFilePath, FileChanged);
        note(d.mRefused, Refused);
        if (change.changes == 0)
            return;
        for (const Observer& observer : d.mObservers)
            observer(change);
    }

private:
    using HistoryView = std::tuple<std::optional<StepKind>, std::optional<StepKind>>;

    static HistoryView history(const Document& d) { return {d.undoKind(), d.redoKind()}; }

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
    std::optional<StepState> mBefore;
    ToolState mTools;
    bool mModified;
    HistoryView mHistory;
    std::string mFile;
};

} // namespace bitloom
