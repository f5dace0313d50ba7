#include "Edit.h"

#include "CommandIds.h"
#include "Strings.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include <limits>

namespace fw {

namespace {

QString firstLine(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'\r' || text[i] == u'\n')
            return text.left(i);
    return text;
}

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
}

} // namespace

Edit::Edit(QWidget* parent, Typing typing) : QLineEdit(parent), m_typing(typing)
{
    // The platform's edit has no length limit of its own: a long name must not be cut.
    setMaxLength(std::numeric_limits<int>::max());
    // Text the program sets empties the undo buffer, as setting a window's text does.
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_userChange) {
            m_canUndo = false;
            m_typingRun = false;
        }
    });
}

QString Edit::Typed(const QString& text) const
{
    switch (m_typing) {
    case AnyText:
        return text;
    case DigitsOnly:
        for (QChar c : text)
            if (c < u'0' || c > u'9')
                return QString();
        return text;
    case UpperCase: {
        // Only the 7-bit letters: a letter elsewhere has capitals in 8 bits (ı to I, ſ to S)
        // that would slip past the identifier rule, which takes nothing outside 7 bits.
        QString upper = text;
        for (QChar& c : upper)
            if (c >= u'a' && c <= u'z')
                c = QChar(c.unicode() - u'a' + u'A');
        return upper;
    }
    }
    return text;
}

template <class Change> void Edit::UserChange(bool typing, Change&& change)
{
    const QString before = text();
    const bool outer = !m_userChange;
    m_userChange = true;
    change();
    if (outer)
        m_userChange = false;
    if (text() == before)
        return;
    if (!typing || !m_typingRun) {
        m_undoText = before;
        m_canUndo = true;
    }
    m_typingRun = typing;
}

void Edit::InsertFirstLine(const QString& text)
{
    const QString line = firstLine(text);
    if (line.isEmpty() && !hasSelectedText())
        return;
    UserChange(false, [&] { insert(line); });
}

void Edit::Cut()
{
    if (!hasSelectedText() || echoMode() != Normal)
        return;
    copy();
    UserChange(false, [&] { del(); });
}

void Edit::Copy()
{
    copy();
}

void Edit::Paste()
{
    if (isReadOnly())
        return;
    InsertFirstLine(QGuiApplication::clipboard()->text());
}

void Edit::Undo()
{
    if (!m_canUndo || isReadOnly())
        return;
    // A change like any: undoing again brings back what this undo took away.
    UserChange(false, [this] { setText(m_undoText); });
    m_typingRun = false;
}

void Edit::keyPressEvent(QKeyEvent* event)
{
    // The edit commands by key do what the menu commands do, not what Qt's line edit does.
    if (event->matches(QKeySequence::Undo)) {
        Undo();
        return;
    }
    if (event->matches(QKeySequence::Redo)) {
        event->accept(); // the platform's edit has no redo
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        Cut();
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed[0].isPrint() && !isReadOnly()) {
        // Whatever modifier produced the character, the filter applies.
        const QString allowed = Typed(typed);
        if (allowed.isEmpty()) {
            event->accept();
            return;
        }
        if (allowed != typed) {
            QKeyEvent converted(event->type(), event->key(), event->modifiers(), allowed,
                                event->isAutoRepeat(), static_cast<ushort>(event->count()));
            UserChange(true, [&] { QLineEdit::keyPressEvent(&converted); });
            event->setAccepted(converted.isAccepted());
            return;
        }
    }
    const int cursor = cursorPosition();
    const int selection = selectionStart();
    const QString before = text();
    UserChange(true, [&] { QLineEdit::keyPressEvent(event); });
    // Moving the cursor without changing the text ends a run of typing.
    if (text() == before && !isModifierKey(event->key()) &&
        (cursor != cursorPosition() || selection != selectionStart()))
        m_typingRun = false;
}

void Edit::inputMethodEvent(QInputMethodEvent* event)
{
    // Composed characters are typed characters too.
    const QString commit = event->commitString();
    QString allowed;
    for (QChar c : commit)
        allowed += Typed(QString(c));
    if (allowed == commit) {
        UserChange(true, [&] { QLineEdit::inputMethodEvent(event); });
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(allowed, event->replacementStart(), event->replacementLength());
    UserChange(true, [&] { QLineEdit::inputMethodEvent(&filtered); });
    event->setAccepted(filtered.isAccepted());
}

void Edit::mousePressEvent(QMouseEvent* event)
{
    m_typingRun = false;
    QLineEdit::mousePressEvent(event);
}

void Edit::mouseReleaseEvent(QMouseEvent* event)
{
    // The window system's selection pastes with the middle button; it is a paste like any.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
        !isReadOnly()) {
        deselect();
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        InsertFirstLine(QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void Edit::focusOutEvent(QFocusEvent* event)
{
    m_typingRun = false;
    QLineEdit::focusOutEvent(event);
}

void Edit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    const bool writable = !isReadOnly();
    QAction* undo = menu.addAction(LoadString(FW_IDS_EDIT_UNDO), this, &Edit::Undo);
    undo->setEnabled(writable && m_canUndo);
    menu.addSeparator();
    QAction* cut = menu.addAction(LoadString(FW_IDS_EDIT_CUT), this, &Edit::Cut);
    cut->setEnabled(writable && hasSelectedText());
    QAction* copy = menu.addAction(LoadString(FW_IDS_EDIT_COPY), this, &Edit::Copy);
    copy->setEnabled(hasSelectedText());
    QAction* paste = menu.addAction(LoadString(FW_IDS_EDIT_PASTE), this, &Edit::Paste);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    paste->setEnabled(writable && data && data->hasText());
    QAction* erase = menu.addAction(LoadString(FW_IDS_EDIT_DELETE), this,
                                    [this] { UserChange(false, [this] { del(); }); });
    erase->setEnabled(writable && hasSelectedText());
    menu.addSeparator();
    QAction* all = menu.addAction(LoadString(FW_IDS_EDIT_SELECT_ALL), this, &Edit::selectAll);
    all->setEnabled(!text().isEmpty());
    menu.exec(event->globalPos());
}

bool Edit::RefusesDrop(const QDropEvent* event) const
{
    // Moving text inside the edit types nothing new.
    if (event->source() == this)
        return false;
    const QMimeData* data = event->mimeData();
    return !data || !data->hasText() || Typed(firstLine(data->text())).isEmpty();
}

void Edit::dragEnterEvent(QDragEnterEvent* event)
{
    if (RefusesDrop(event)) {
        event->ignore();
        return;
    }
    QLineEdit::dragEnterEvent(event);
}

void Edit::dragMoveEvent(QDragMoveEvent* event)
{
    if (RefusesDrop(event)) {
        event->ignore();
        return;
    }
    QLineEdit::dragMoveEvent(event);
}

void Edit::dropEvent(QDropEvent* event)
{
    if (RefusesDrop(event)) {
        event->ignore();
        return;
    }
    if (event->source() == this) {
        UserChange(false, [&] { QLineEdit::dropEvent(event); });
        return;
    }
    // Dropped text counts as typed: filtered, and one line.
    const QString typed = Typed(firstLine(event->mimeData()->text()));
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    UserChange(false, [&] { insert(typed); });
    event->acceptProposedAction();
}

} // namespace fw
