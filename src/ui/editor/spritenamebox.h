#pragma once

#include "codegen/identifier.h"

#include <QComboBox>

#include <string>
#include <vector>

namespace bitloom {

// The name box: an editable combo box whose text is exactly what the user
// typed (no completion, no insertion on Return, one line only). It mirrors
// the document's name and list. A name that is no valid C identifier gets a
// tinted frame and a tooltip that says why; it stays allowed.
class SpriteNameBox : public QComboBox {
    Q_OBJECT
public:
    explicit SpriteNameBox(QWidget* parent);

    // Shows the document's list; the edited text stays as it is.
    void showNames(const std::vector<std::string>& names);
    // Shows the document's current name, unless the box shows it already,
    // and the hint for it.
    void showName(const std::string& name);

    // Opens the list with the item of the current name highlighted.
    void showPopup() override;
    // Whether the name is shown with the hint that it is no C identifier.
    bool hintShown() const { return mHintShown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

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
