// The framework's one-line edit: it behaves like the platform's single-line edit control
// rather than like Qt's line edit where the two differ.
#pragma once

#include <QLineEdit>

namespace fw {

class Edit : public QLineEdit
{
    Q_OBJECT

public:
    // What the keyboard may type. Pasted text is never filtered; dropped text counts as typed.
    enum Typing
    {
        AnyText,
        DigitsOnly, // 0 to 9 and nothing else
        UpperCase,  // a to z turn upper case as they are typed
    };

    explicit Edit(QWidget* parent = nullptr, Typing typing = AnyText);

    // The edit commands. Paste keeps the clipboard text's first line only. Undo reverts the
    // last change (a run of typing counts as one) and, repeated, restores it again.
    void Cut();
    void Copy();
    void Paste();
    void Undo();
    bool CanUndo() const { return m_canUndo; }

    // text as the keyboard would leave it, or empty when none of it may be typed.
    QString Typed(const QString& text) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Runs change as the user's: the text before it becomes the undo text, unless change
    // continues a run of typing.
    template <class Change> void UserChange(bool typing, Change&& change);
    void InsertFirstLine(const QString& text);
    bool RefusesDrop(const QDropEvent* event) const;

    Typing m_typing;
    QString m_undoText;
    bool m_canUndo = false;
    bool m_typingRun = false;
    bool m_userChange = false;
};

} // namespace fw
