#pragma once

#include "codegen/identifier.h"
#include "model/namebox.h"

#include <QComboBox>

namespace bitloom {

// The name box: an editable combo box whose text is exactly what the user
// typed (no completion, no insertion on Return, one line only). It is the
// core's NameBox. A name that is no valid C identifier gets a tinted frame
// and a tooltip that says why; it stays allowed.
class SpriteNameBox : public QComboBox, public NameBox {
    Q_OBJECT
public:
    explicit SpriteNameBox(QWidget* parent);

    std::string text() const override;
    void addItem(const std::string& name) override;
    using QComboBox::addItem;

    // Opens the list with the item of the current name highlighted.
    void showPopup() override;
    // Whether the name is shown with the hint that it is no C identifier.
    bool hintShown() const { return mHintShown; }

signals:
    // The user changed the text: typing, deleting, pasting.
    void nameEdited();
    // The user chose an item of the list: a click on it in the drop-down,
    // or Up/Down in the box. Return and focus changes choose nothing.
    void nameChosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void activate();
    void showHint();
    static QString hintText(const QString& name, const IdentifierCheck& check);

    // Set while Return or a focus change ends the editing. QComboBox then
    // makes a list item equal to the text current and reports it as
    // activated; that is no choice of the user's.
    bool mEndingEdit = false;
    bool mHintShown = false;
};

} // namespace bitloom
