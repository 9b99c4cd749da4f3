#pragma once

#include "codegen/arraywriter.h"

#include <QString>

#include <optional>

class QWidget;

namespace bitloom {

// What File > Export > C Array writes: the layout, the array's name, the
// style, and all sprites or the current one.
struct CArrayChoice {
    TileLayout layout = TileLayout::Gb;
    QString name;
    ArrayStyle style = ArrayStyle::Const;
    bool allSprites = true;
};

// Asks for them, starting from `suggestedName`; "Current sprite" is offered
// only when `hasCurrent`. None when the user cancels.
std::optional<CArrayChoice> askCArray(QWidget* parent, const QString& suggestedName, bool hasCurrent);

} // namespace bitloom
