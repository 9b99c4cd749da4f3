#include "codewindow.h"

#include "codeview.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace bitloom {

CodeWindow::CodeWindow(QWidget* parent) : QWidget(parent), mCodeView(new CodeView(this))
{
    setObjectName(QStringLiteral("codeWindow()"));
    setWindowTitle(tr("Generator: generated C code"));
    resize(twips::toPixels(layout::kCodeWindowClient).size());

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(mCodeView);
}

void CodeWindow::closeEvent(QCloseEvent* event)
{
    // The code text is the product of the run and exists only here.
    event->ignore();
}

} // namespace bitloom
