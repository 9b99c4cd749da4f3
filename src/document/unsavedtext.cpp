#include "unsavedtext.h"

#include "codegen/grammar.h"
#include "codegen/updater.h"

namespace bitloom {

std::string codeWithBrushedCells(const Document& document)
{
    std::string text = document.code();
    if (!document.brushPending())
        return text;
    // As the regeneration a save does: the name as the text reads it, and a
    // new sprite only when the table has room for it.
    const std::string_view name = grammar::spriteName(document.name());
    if (!declaresSprite(text, name) && !findFreeSlot(document.table()))
        return text;
    for (const TextEdit& edit : updateDeclarations(text, name, document.grid()).edits)
        applyEdit(text, edit);
    return text;
}

} // namespace bitloom
