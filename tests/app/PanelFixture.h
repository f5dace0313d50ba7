// The editor with one layout window, and the panel's children by id.
#pragma once

#include "AppHarness.h"
#include "resources/Resource.h"

#include <QClipboard>
#include <QLineEdit>

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace testing_support {

using namespace resources;

const QString NUMBER_MESSAGE = QString::fromUtf8("Geben Sie bitte eine Zahl ein.");
const QString INTEGER_MESSAGE = QString::fromUtf8("Geben Sie bitte eine positive ganze Zahl ein.");

class PanelTest : public ::testing::Test
{
protected:
    EditorFixture editor;
    void SetUp() override
    {
        ASSERT_TRUE(editor.app->InitInstance());
        editor.frame().activateWindow();
        QApplication::setActiveWindow(&editor.frame());
        processEvents();
        canvasPaints = std::make_unique<PaintCounter>(editor.canvas());
    }
    // Whether the canvas painted itself since the last call: a repaint was asked for.
    bool canvasRepainted()
    {
        processEvents();
        const bool painted = canvasPaints->paints > 0;
        canvasPaints->paints = 0;
        return painted;
    }
    std::unique_ptr<PaintCounter> canvasPaints;
    CKarveloDoc* doc() { return editor.doc(); }
    QLineEdit* edit(int id) { return editor.panel()->findChild<QLineEdit*>(QString::number(id)); }
    fw::ListBox* list() { return editor.panel()->m_listControls; }
    QPushButton* deleteButton()
    {
        return editor.panel()->findChild<QPushButton*>(QString::number(IDC_DELETE));
    }
    std::vector<LayoutControl>& controls() { return doc()->m_layout.m_controls; }

    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(editor.canvas(), Qt::LeftButton, {}, from);
        QTest::mouseMove(editor.canvas(), (from + to) / 2);
        QTest::mouseRelease(editor.canvas(), Qt::LeftButton, {}, to);
    }
    // Replaces the edit's text as a user would: select all, then type or paste over it.
    void replaceText(int id, const QString& text, bool paste = false)
    {
        QLineEdit* e = edit(id);
        e->setFocus();
        e->selectAll();
        if (paste) {
            // The product's paste, the one the Edit menu and Ctrl+V run.
            QGuiApplication::clipboard()->setText(text);
            static_cast<fw::Edit*>(e)->Paste();
        } else if (text.isEmpty()) {
            QTest::keyClick(e, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(e, text);
        }
    }
    void select(int row)
    {
        list()->setCurrentRow(row);
        processEvents();
    }
    QStringList rows()
    {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i)
            names << list()->text(i);
        return names;
    }
};

} // namespace testing_support
