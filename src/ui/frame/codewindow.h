#pragma once

#include "document/document.h"

#include <QWidget>

namespace bitloom {

class CodeView;

// The code window "Generator: generated C code": its code view fills the
// client area, so nothing of the code or its scroll bars is cut off. It
// mirrors the document's code text and current name.
class CodeWindow : public QWidget {
    Q_OBJECT
public:
    explicit CodeWindow(Document& document, QWidget* parent = nullptr);

    CodeView* codeView() const { return mCodeView; }

signals:
    // Tab (`next`) or Shift+Tab on the code view: the keyboard is to move on
    // to another window, as the view is this window's only control.
    void focusLeaving(bool next);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void showDocument(const DocumentChange& change);
    // Bands the current sprite's lines, or the lines of the current tile's
    // numbers.
    void showCurrentName();

    Document& mDocument;
    Subscription mSubscription;
    CodeView* mCodeView;
};

} // namespace bitloom
