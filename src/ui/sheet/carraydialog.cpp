#include "carraydialog.h"

#include "codegen/identifier.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace bitloom {

namespace {
struct CArrayDialog {
    Q_DECLARE_TR_FUNCTIONS(CArrayDialog)
};
} // namespace

std::optional<CArrayChoice> askCArray(QWidget* parent, const QString& suggestedName, bool hasCurrent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("cArrayDialog"));
    dialog.setWindowTitle(CArrayDialog::tr("Export C Array"));

    auto* layouts = new QComboBox(&dialog);
    layouts->setObjectName(QStringLiteral("cArrayLayout"));
    for (const TileLayout layout : kTileLayouts)
        layouts->addItem(QString::fromUtf8(layoutMenuText(layout)));
    auto* name = new QLineEdit(suggestedName, &dialog);
    name->setObjectName(QStringLiteral("cArrayName"));
    auto* styles = new QComboBox(&dialog);
    styles->setObjectName(QStringLiteral("cArrayStyle"));
    styles->addItems({CArrayDialog::tr("Own"), QStringLiteral("const"), QStringLiteral("PROGMEM")});
    styles->setCurrentIndex(1);
    auto* all = new QRadioButton(CArrayDialog::tr("All sprites"), &dialog);
    all->setObjectName(QStringLiteral("cArrayAll"));
    auto* current = new QRadioButton(CArrayDialog::tr("Current sprite"), &dialog);
    current->setObjectName(QStringLiteral("cArrayCurrent"));
    all->setChecked(true);
    current->setEnabled(hasCurrent);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // The name becomes a C identifier: OK waits for a valid one.
    const auto check = [&] {
        const bool valid = checkIdentifier(name->text().toStdString()).problem == IdentifierProblem::None;
        buttons->button(QDialogButtonBox::Ok)->setEnabled(valid);
    };
    QObject::connect(name, &QLineEdit::textChanged, &dialog, check);
    check();

    auto* form = new QFormLayout;
    form->addRow(CArrayDialog::tr("&Layout:"), layouts);
    form->addRow(CArrayDialog::tr("Array &name:"), name);
    form->addRow(CArrayDialog::tr("&Style:"), styles);
    auto* column = new QVBoxLayout(&dialog);
    column->addLayout(form);
    column->addWidget(all);
    column->addWidget(current);
    column->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const ArrayStyle style[] = {ArrayStyle::Own, ArrayStyle::Const, ArrayStyle::Progmem};
    return CArrayChoice{kTileLayouts[std::size_t(layouts->currentIndex())], name->text(),
                        style[styles->currentIndex()], !current->isChecked()};
}

} // namespace bitloom
