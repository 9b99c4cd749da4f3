#pragma once

#include "document.h"

#include <string>

namespace bitloom {

// The code text as a save would write it, cells of a brush run still open
// included, without changing the document: no step, no notification, the
// run stays open. What goes into a recovery file while the user paints.
std::string codeWithBrushedCells(const Document& document);

} // namespace bitloom
