#include "codewindow.h"

#include "codeview.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace bitloom {

CodeWindow::CodeWindow(Document& document, QWidget* parent)
    : QWidget(parent), mDocument(document), mCodeView(new CodeView(this))
{
    setObjectName(QStringLiteral("codeWindow"));
    setWindowTitle(tr("Generator: generated C code"));
    resize(twips::toPixels(layout::kCodeWindowClient).size());

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(mCodeView);
    // The view is read-only, so Tab has nothing to type: it moves the
    // keyboard on (focusNextPrevChild).
    mCodeView->setTabChangesFocus(true);

    mSubscription = mDocument.subscribe([this](const DocumentChange& change) { showDocument(change); });
    showCurrentName();
    mCodeView->setText(mDocument.code());
}

void CodeWindow::showCurrentName()
{
    std::optional<std::pair<std::size_t, std::size_t>> lines;
    if (const auto tile = mDocument.currentTile())
        lines = tile->array->tileExtent(mDocument.code(), tile->index);
    mCodeView->setCurrentName(mDocument.name(), lines);
}

void CodeWindow::showDocument(const DocumentChange& change)
{
    // The band follows the name first, so a write bands the right lines.
    // A tile's lines may move with any write, and its array may come or go.
    if ((change.changes & (NameChanged | ListChanged))
        || ((change.changes & CodeChanged) && mDocument.currentTile()))
        showCurrentName();
    if (!(change.changes & CodeChanged))
        return;
    // A press, an undo or an import arrives as the edits it made; only New
    // and Open replace the text whole.
    if (change.codeReplaced) {
        mCodeView->setText(mDocument.code());
        return;
    }
    mCodeView->applyEdits(change.codeEdits);
}

bool CodeWindow::focusNextPrevChild(bool next)
{
    // Inside a workspace window Tab would only cycle through this window's
    // controls, which is the code view alone.
    emit focusLeaving(next);
    return true;
}

void CodeWindow::closeEvent(QCloseEvent* event)
{
    // The code text is the product of the run: its window stays.
    event->ignore();
}

} // namespace bitloom
