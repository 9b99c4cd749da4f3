#include "spritenamebox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QValidator>

namespace bitloom {

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85)
        || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Keeps the name on one line: of a pasted text with line breaks only the
// first line stays, as in other single-line fields. Whatever followed the
// cursor stays after it. A declaration therefore never spans two lines.
class SingleLineValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override
    {
        const auto firstBreak = std::find_if(input.cbegin(), input.cend(), isLineBreak);
        if (firstBreak == input.cend())
            return Acceptable;
        const int cut = int(firstBreak - input.cbegin());
        // The text before the paste had no break, so the break lies in the
        // pasted part, which ends at the cursor.
        const int resume = std::max(pos, cut);
        QString kept = input.left(cut) + input.mid(resume);
        kept.erase(std::remove_if(kept.begin(), kept.end(), isLineBreak), kept.end());
        input = kept;
        pos = cut;
        return Acceptable;
    }
};

} // namespace

SpriteNameBox::SpriteNameBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // With duplicates allowed, Return never selects a matching item on its
    // own, so pressing it changes nothing.
    setDuplicatesEnabled(true);
    setCompleter(nullptr);
    setValidator(new SingleLineValidator(this));
    setFocusPolicy(Qt::StrongFocus);

    // The keys reach the combo box or its line edit, whichever has focus.
    installEventFilter(this);
    lineEdit()->installEventFilter(this);

    connect(lineEdit(), &QLineEdit::textEdited, this, &SpriteNameBox::nameEdited);
    connect(this, &QComboBox::activated, this, &SpriteNameBox::nameChosen);
}

bool SpriteNameBox::eventFilter(QObject* watched, QEvent* event)
{
    // Undo and Redo are the window's: they take back drawing steps wherever
    // the keyboard is. The line edit would claim the keys for its own text.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
            return true; // not accepted: the shortcut goes on to the window
    }
    return QComboBox::eventFilter(watched, event);
}

void SpriteNameBox::showNames(const std::vector<std::string>& names)
{
    // Filling an empty combo box would make its first item current and
    // replace the edited text; the text must stay what the user typed.
    const QString typed = currentText();
    const QSignalBlocker blocker(this);
    QStringList items;
    items.reserve(qsizetype(names.size()));
    for (const std::string& name : names)
        items.append(QString::fromStdString(name));
    clear();
    addItems(items);
    if (currentText() != typed)
        lineEdit()->setText(typed);
}

void SpriteNameBox::showName(const std::string& name)
{
    const QString text = QString::fromStdString(name);
    if (currentText() == text)
        return;
    const QSignalBlocker blocker(this);
    lineEdit()->setText(text);
}

} // namespace bitloom
