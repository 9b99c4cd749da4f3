#pragma once

#include <QString>

namespace bitloom::cli {

// `import IMAGE -o TARGET --layout ID [--name NAME]`: the image's tiles
// written into TARGET's array NAME in layout ID, over its tiles when it has
// as many, or as a new array. `layout` and `name` are as given (an empty
// name: the image's). Returns the exit status.
int importIntoArrayFile(const QString& image, const QString& target, const QString& layout,
                        const QString& name);

} // namespace bitloom::cli
