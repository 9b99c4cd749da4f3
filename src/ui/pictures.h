#pragma once

#include <QIcon>

namespace bitloom {

// One of our pictures from the resources, e.g. "pencil": the natural-size
// picture and its @2x twin for dense screens. Built from pixmaps directly,
// which spares start-up the search for icon-engine plugins.
QIcon picture(const char* name);

} // namespace bitloom
