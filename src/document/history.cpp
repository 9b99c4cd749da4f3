#include "history.h"

namespace bitloom {

Step::Step(StepKind kind, const StepState& before, const TouchedEntries& touched,
           const DocumentStateRef& after, EditRecord edits)
    : mKind(kind),
      mBrushBefore(before.brushPending),
      mBrushAfter(after.brushPending),
      mGridBefore(before.grid),
      mGridAfter(after.grid),
      mNameBefore(before.name),
      mNameAfter(after.name),
      mEdits(std::move(edits))
{
    mEdits.forward.shrink_to_fit();
    mEdits.backward.shrink_to_fit();
    for (const auto& [index, was] : touched) {
        const SpriteEntry& is = after.table[static_cast<std::size_t>(index)];
        if (was.name != is.name || was.shades != is.shades)
            mEntries.push_back({index, was.name, is.name, was.shades, is.shades});
    }
    mEntries.shrink_to_fit();

    if (before.names != after.names)
        mList = std::make_unique<ListChange>(ListChange{before.names, after.names});
}

std::vector<int> Step::entryIndices() const
{
    std::vector<int> indices;
    for (const EntryChange& change : mEntries)
        indices.push_back(change.index);
    return indices;
}

const std::vector<TextEdit>& Step::undo(const DocumentStateRef& state) const
{
    return apply(state, false);
}

const std::vector<TextEdit>& Step::redo(const DocumentStateRef& state) const
{
    return apply(state, true);
}

const std::vector<TextEdit>& Step::apply(const DocumentStateRef& state, bool forward) const
{
    state.grid = forward ? mGridAfter : mGridBefore;
    state.brushPending = forward ? mBrushAfter : mBrushBefore;
    const std::vector<TextEdit>& edits = forward ? mEdits.forward : mEdits.backward;
    for (const TextEdit& edit : edits)
        applyEdit(state.code, edit);
    for (const EntryChange& change : mEntries) {
        SpriteEntry& entry = state.table[static_cast<std::size_t>(change.index)];
        entry.name = forward ? change.nameAfter : change.nameBefore;
        entry.shades = forward ? change.shadesAfter : change.shadesBefore;
    }
    state.name = forward ? mNameAfter : mNameBefore;
    if (mList)
        state.names = forward ? mList->after : mList->before;
    return edits;
}

void History::push(Step step)
{
    // A new step discards what was undone; a save among it is out of reach.
    if (mSavedAt > static_cast<std::ptrdiff_t>(mPosition))
        mSavedAt = -1;
    mSteps.erase(mSteps.begin() + static_cast<std::ptrdiff_t>(mPosition), mSteps.end());
    mSteps.push_back(std::move(step));
    ++mPosition;
    if (mSteps.size() > kLimit) {
        mSteps.pop_front();
        --mPosition;
        if (mSavedAt >= 0)
            --mSavedAt;
    }
}

void History::clear()
{
    mSteps.clear();
    mPosition = 0;
    mSavedAt = 0;
}

} // namespace bitloom
