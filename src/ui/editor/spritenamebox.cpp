#include "spritenamebox.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QValidator>

namespace bitloom {

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85)
           || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Keeps the name on one line and free of NUL characters: of a pasted text with line breaks only the
// first line stays, as in other single-line fields. Whatever followed the
// cursor stays after it. A declaration therefore never spans two lines.
class SingleLineValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override
    {
        // A NUL character would make the saved file one that cannot be
        // opened again; it has no place in a name.
        if (const auto nul = input.indexOf(QChar(0)); nul >= 0) {
            input.remove(QChar(0));
            pos = std::min(pos, int(input.size()));
        }
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

// Draws a list's items as text alone, whatever else the rows hold.
class NamesOnlyDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features &= ~QStyleOptionViewItem::HasDecoration;
        option->icon = QIcon();
        option->decorationSize = QSize();
    }
};

// The hint's colours: a frame in amber and the edit area tinted towards it.
const QColor kHintFrame(0xD0, 0x80, 0x00);

QColor tinted(const QColor& base)
{
    constexpr float share = 0.25f;
    return QColor::fromRgbF(base.redF() + (kHintFrame.redF() - base.redF()) * share,
                            base.greenF() + (kHintFrame.greenF() - base.greenF()) * share,
                            base.blueF() + (kHintFrame.blueF() - base.blueF()) * share);
}

} // namespace

SpriteNameBox::SpriteNameBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    // Return adds nothing to the list, and leaves the text as it is.
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    setCompleter(nullptr);
    setValidator(new SingleLineValidator(this));
    setFocusPolicy(Qt::StrongFocus);

    // The keys reach the combo box or its line edit, whichever has focus.
    installEventFilter(this);
    lineEdit()->installEventFilter(this);

    connect(lineEdit(), &QLineEdit::textEdited, this, &SpriteNameBox::nameEdited);
    connect(this, &QComboBox::activated, this, &SpriteNameBox::activate);
    connect(this, &QComboBox::editTextChanged, this, &SpriteNameBox::showHint);
}

void SpriteNameBox::activate()
{
    if (!mEndingEdit)
        emit nameChosen();
}

void SpriteNameBox::keyPressEvent(QKeyEvent* event)
{
    const bool ends = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QScopedValueRollback ending(mEndingEdit, mEndingEdit || ends);
    QComboBox::keyPressEvent(event);
}

void SpriteNameBox::focusOutEvent(QFocusEvent* event)
{
    const QScopedValueRollback ending(mEndingEdit, true);
    QComboBox::focusOutEvent(event);
}

void SpriteNameBox::showPopup()
{
    // QComboBox highlights its current item, which need not be the typed
    // name's. The current item is made the name's (same text, so nothing is
    // recalled), or nothing is highlighted when the name is not listed.
    const int item = findText(currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (item >= 0)
        setCurrentIndex(item);
    QComboBox::showPopup();
    if (item < 0)
        view()->selectionModel()->clear();
}

void SpriteNameBox::showHint()
{
    const QString name = currentText();
    const IdentifierCheck check = checkIdentifier(name.toStdString());
    const bool hinted = check.problem != IdentifierProblem::None;
    if (hinted != mHintShown) {
        mHintShown = hinted;
        QPalette tint; // an empty palette: the line edit takes the box's again
        if (hinted) {
            tint = lineEdit()->palette();
            tint.setColor(QPalette::Base, tinted(tint.color(QPalette::Base)));
        }
        lineEdit()->setPalette(tint);
        update();
    }
    const QString hint = hintText(name, check);
    setToolTip(hint);
    lineEdit()->setAccessibleDescription(hint);
}

QString SpriteNameBox::hintText(const QString& name, const IdentifierCheck& check)
{
    const QString shown = name.size() > 40 ? name.left(39) + QChar(0x2026) : name;
    switch (check.problem) {
    case IdentifierProblem::None: return {};
    case IdentifierProblem::Empty:
        return tr("An empty name is not a C identifier: the declarations are then named just "
                  "\u201clight\u201d and \u201cdark\u201d.");
    case IdentifierProblem::Keyword:
        return tr("\u201c%1\u201d is a C keyword, not an identifier. Its declarations still compile, "
                  "as \u201c%1light\u201d and \u201c%1dark\u201d.")
            .arg(shown);
    case IdentifierProblem::LeadingDigit:
        return tr("The declarations will not compile: \u201c%1\u201d begins with a digit, "
                  "and a C identifier cannot.")
            .arg(shown);
    case IdentifierProblem::BadCharacter: break;
    }
    const char32_t character = QString::fromStdString(check.character).toUcs4().value(0);
    const QString what =
        character == U' ' ? tr("a space")
        : QChar::isPrint(character) && !QChar::isSpace(character)
            ? QStringLiteral("\u201c%1\u201d").arg(QString::fromStdString(check.character))
            : tr("the character U+%1")
                  .arg(QString::number(uint(character), 16).toUpper().rightJustified(4, u'0'));
    return tr("The declarations will not compile: \u201c%1\u201d contains %2, and a C identifier holds "
              "only the letters A\u2013Z and a\u2013z, the digits 0\u20139 and \u201c_\u201d.")
        .arg(shown, what);
}

void SpriteNameBox::paintEvent(QPaintEvent* event)
{
    QComboBox::paintEvent(event);
    if (!mHintShown)
        return;
    QPainter painter(this);
    painter.setPen(QPen(kHintFrame, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
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

void SpriteNameBox::setModel(QAbstractItemModel* model)
{
    // Connected before QComboBox's own handlers, so the text is held before
    // they run, and put back after them by the connections made after.
    connect(model, &QAbstractItemModel::dataChanged, this, &SpriteNameBox::holdText);
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, &SpriteNameBox::holdText);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, &SpriteNameBox::holdText);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &SpriteNameBox::holdText);
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, &SpriteNameBox::holdText);
    holdText();
    QComboBox::setModel(model);
    showListAnew();
    restoreText();
    connect(model, &QAbstractItemModel::dataChanged, this, &SpriteNameBox::restoreText);
    connect(model, &QAbstractItemModel::rowsInserted, this, &SpriteNameBox::restoreText);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &SpriteNameBox::restoreText);
    connect(model, &QAbstractItemModel::modelReset, this, &SpriteNameBox::restoreText);
    connect(model, &QAbstractItemModel::layoutChanged, this, &SpriteNameBox::restoreText);
    // The sheet's list tells when it was shown anew; see the header.
    if (model->metaObject()->indexOfSignal("listShown()") >= 0)
        connect(model, SIGNAL(listShown()), this, SLOT(showListAnew()));
    // The drop-down lists names only, without the thumbnails.
    view()->setItemDelegate(new NamesOnlyDelegate(view()));
}

void SpriteNameBox::holdText()
{
    if (mHolding++ > 0)
        return;
    mWasBlocked = blockSignals(true);
    QLineEdit* edit = lineEdit();
    mHeldText = edit->text();
    mHeldCursor = edit->cursorPosition();
    mHeldSelectionStart = edit->selectionStart();
    mHeldSelectionLength = int(edit->selectedText().size());
}

void SpriteNameBox::restoreText()
{
    if (mHolding == 0 || --mHolding > 0)
        return;
    QLineEdit* edit = lineEdit();
    if (edit->text() != mHeldText)
        edit->setText(mHeldText);
    if (mHeldSelectionStart >= 0)
        edit->setSelection(mHeldSelectionStart, mHeldSelectionLength);
    else
        edit->setCursorPosition(mHeldCursor);
    blockSignals(mWasBlocked);
}

void SpriteNameBox::showListAnew()
{
    holdText();
    setCurrentIndex(count() > 0 ? 0 : -1);
    restoreText();
}

void SpriteNameBox::showName(const std::string& name)
{
    const QString text = QString::fromStdString(name);
    if (currentText() != text) {
        const QSignalBlocker blocker(this);
        lineEdit()->setText(text);
    }
    // The signals were held back, so the hint follows here: a chosen, undone
    // or opened name is judged as a typed one is.
    showHint();
}

} // namespace bitloom
