#pragma once

#include "model/namebox.h"

#include <QComboBox>

namespace bitloom {

// The name box: an editable combo box whose text is exactly what the user
// typed (no completion, no insertion on Return, one line only). It is the
// core's NameBox.
class SpriteNameBox : public QComboBox, public NameBox {
    Q_OBJECT
public:
    explicit SpriteNameBox(QWidget* parent);

    std::string text() const override;
    void addItem(const std::string& name) override;
    using QComboBox::addItem;

signals:
    // The user changed the text: typing, deleting, pasting.
    void nameEdited();
    // The user chose an item of the list.
    void nameChosen();
};

} // namespace bitloom
