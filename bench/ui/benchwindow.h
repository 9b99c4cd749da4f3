#pragma once

// The real main window with a document of its own, made before the window
// and gone after it, as main() keeps them.
#include "document/document.h"
#include "ui/frame/filesession.h"
#include "ui/frame/mainwindow.h"

namespace bitloom::bench {

struct HeldDocument {
    Document heldDocument;
};

class BenchWindow : private HeldDocument, public MainWindow {
public:
    BenchWindow() : MainWindow(heldDocument) {}
};

} // namespace bitloom::bench
