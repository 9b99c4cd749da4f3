#pragma once

#include <QComboBox>

#include <string>
#include <vector>

namespace bitloom {

// The name box: an editable combo box whose text is exactly what the user
// typed (no completion, no insertion on Return, one line only). It mirrors
// the document's name and list.
class SpriteNameBox : public QComboBox {
    Q_OBJECT
public:
    explicit SpriteNameBox(QWidget* parent);

    // Shows the document's list; the edited text stays as it is.
    void showNames(const std::vector<std::string>& names);
    // Shows the document's current name, unless the box shows it already.
    void showName(const std::string& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The user changed the text: typing, deleting, pasting.
    void nameEdited();
    // The user chose an item of the list.
    void nameChosen();
};

} // namespace bitloom
