#pragma once

#include <QString>

class QWidget;

namespace bitloom {

struct LeftWork;

// What the user does with work a Bitloom left unsaved.
enum class LeftWorkAnswer {
    Recover,      // open it here, unsaved
    Discard,      // remove it for good
    KeepForLater, // leave it; the next start asks again (also Escape)
};

// Asks about `work`, saying how many more (`more`) wait after it.
LeftWorkAnswer askAboutLeftWork(QWidget* parent, const LeftWork& work, int more);

// "HH:mm (file)" for the question and the messages after it: the time the
// work was last kept, with the date when it is not today, and the file's
// name or "Untitled".
QString leftWorkTime(const LeftWork& work);
QString leftWorkFile(const LeftWork& work);

} // namespace bitloom
