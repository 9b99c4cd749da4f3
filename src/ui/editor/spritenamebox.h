#pragma once

#include "codegen/identifier.h"

#include <QComboBox>

#include <string>

namespace bitloom {

// The name box: an editable combo box whose text is exactly what the user
// typed (no completion, no insertion on Return, one line only). It mirrors
// the document's name and list. A name that is no valid C identifier gets a
// tinted frame and a tooltip that says why; it stays allowed.
class SpriteNameBox : public QComboBox {
    Q_OBJECT
public:
    explicit SpriteNameBox(QWidget* parent);

    // Lists the names of `model`'s rows (the sheet's sprite list). Whatever
    // the list does, the edited text stays as it is and no signal tells of
    // it: only the user's typing and choosing are reported. After the list
    // is shown anew the first item is the box's current one, where Up and
    // Down start from.
    void setModel(QAbstractItemModel* model) override;
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

private slots:
    // After the list was shown anew (see setModel).
    void showListAnew();

private:
    void activate();
    // Around a change of the list: QComboBox would make an item current and
    // put its text in the box. The text, cursor and selection are held and
    // put back, with the box's signals held back meanwhile.
    void holdText();
    void restoreText();
    void showHint();
    static QString hintText(const QString& name, const IdentifierCheck& check);

    // Set while Return or a focus change ends the editing. QComboBox then
    // makes a list item equal to the text current and reports it as
    // activated; that is no choice of the user's.
    bool mEndingEdit = false;
    bool mHintShown = false;
    int mHolding = 0;
    bool mWasBlocked = false;
    QString mHeldText;
    int mHeldCursor = 0;
    int mHeldSelectionStart = -1;
    int mHeldSelectionLength = 0;
};

} // namespace bitloom
