// The search field of the tools bar: a query for the controls of the active window. While it
// holds one the panels list only the controls that match, and the field counts them; Enter
// selects them all. A query that cannot be read shows red, with the reason as its tooltip.
#pragma once

#include <QPointer>
#include <QWidget>

class CEditorSettings;
class CKarveloView_Controls;
class QLabel;
class QLineEdit;

class CSearchField : public QWidget
{
    Q_OBJECT

public:
    CSearchField(CEditorSettings& settings, QWidget* parent = nullptr);

    QLineEdit* Edit() const { return m_edit; }
    QLabel* Count() const { return m_count; }
    // The panel of the active window, whose rows are counted (null: none).
    void Follow(CKarveloView_Controls* panel);
    // Focus in the field, its text selected for the next query.
    void TakeFocus();

signals:
    // Enter: select what matches.
    void selectMatching();

private:
    void OnTextChanged(const QString& text);
    void ShowCount();

    CEditorSettings& m_settings;
    QLineEdit* m_edit;
    QLabel* m_count;
    QString m_tip;
    QPointer<CKarveloView_Controls> m_panel;
};
