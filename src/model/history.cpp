#include "history.h"

#include <algorithm>

namespace bitloom {

namespace {

constexpr std::uint8_t kUnpainted = 4;

template <typename Packed>
Packed packGrid(const Grid& grid)
{
    Packed packed{};
    for (std::size_t k = 0; k < packed.size(); ++k)
        packed[k] = static_cast<std::uint8_t>(codeOf(kPalette, grid[k]).value_or(kUnpainted));
    return packed;
}

template <typename Packed>
Grid unpackGrid(const Packed& packed)
{
    Grid grid{};
    for (std::size_t k = 0; k < packed.size(); ++k)
        grid[k] = packed[k] == kUnpainted ? kInitialCellColour : kPalette[packed[k]];
    return grid;
}

template <typename Packed>
Packed packCodes(const std::array<Code, kCellCount>& codes)
{
    Packed packed{};
    std::transform(codes.begin(), codes.end(), packed.begin(),
                   [](Code code) { return static_cast<std::uint8_t>(code); });
    return packed;
}

template <typename Packed>
void unpackCodes(const Packed& packed, std::array<Code, kCellCount>& codes)
{
    std::transform(packed.begin(), packed.end(), codes.begin(),
                   [](std::uint8_t code) { return static_cast<Code>(code); });
}

} // namespace

std::string_view stepName(StepKind kind)
{
    switch (kind) {
    case StepKind::Paint: return "Paint";
    case StepKind::UpdateCode: return "Code Update";
    case StepKind::Brush: return "Brush";
    case StepKind::ClearTile: return "Clear Tile";
    case StepKind::RemoveTile: return "Remove Tile";
    case StepKind::Import: return "Import PNG";
    }
    return {};
}

Step::Step(StepKind kind, const DocumentState& before, const TouchedEntries& touched, const DocumentStateRef& after)
    : mKind(kind)
    , mBrushBefore(before.brushPending)
    , mBrushAfter(after.brushPending)
    , mGridBefore(packGrid<PackedGrid>(before.grid))
    , mGridAfter(packGrid<PackedGrid>(after.grid))
    , mNameBefore(before.name)
    , mNameAfter(after.name)
{
    const std::string& a = before.code;
    const std::string& b = after.code;
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t prefix = 0;
    while (prefix < limit && a[prefix] == b[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < limit - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    mCode = {prefix, a.substr(prefix, a.size() - prefix - suffix), b.substr(prefix, b.size() - prefix - suffix)};

    for (const auto& [index, was] : touched) {
        const SpriteEntry& is = after.table[static_cast<std::size_t>(index)];
        if (was.name != is.name || was.codes != is.codes)
            mEntries.push_back({index, was.name, is.name, packCodes<PackedCodes>(was.codes),
                                packCodes<PackedCodes>(is.codes)});
    }
    mEntries.shrink_to_fit();

    if (before.names != after.names)
        mList = std::make_unique<ListChange>(ListChange{before.names, after.names});
}

void Step::undo(const DocumentStateRef& state) const
{
    apply(state, false);
}

void Step::redo(const DocumentStateRef& state) const
{
    apply(state, true);
}

void Step::apply(const DocumentStateRef& state, bool forward) const
{
    state.grid = unpackGrid(forward ? mGridAfter : mGridBefore);
    state.brushPending = forward ? mBrushAfter : mBrushBefore;
    const std::string& from = forward ? mCode.before : mCode.after;
    const std::string& to = forward ? mCode.after : mCode.before;
    state.code.replace(mCode.at, from.size(), to);
    for (const EntryChange& change : mEntries) {
        SpriteEntry& entry = state.table[static_cast<std::size_t>(change.index)];
        entry.name = forward ? change.nameAfter : change.nameBefore;
        unpackCodes(forward ? change.codesAfter : change.codesBefore, entry.codes);
    }
    state.name = forward ? mNameAfter : mNameBefore;
    if (mList)
        state.names = forward ? mList->after : mList->before;
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
