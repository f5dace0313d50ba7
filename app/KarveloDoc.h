// One open layout: its controls, the current one, the record being drawn, and its views.
#pragma once

#include "Document.h"
#include "LayoutDataObject.h"

#include <QPointer>

class CKarveloView;
class CKarveloView_Controls;

class CKarveloDoc : public fw::Document
{
    Q_OBJECT

public:
    CKarveloDoc();

    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;

    HRESULT LoadLayout(const QString& path);
    HRESULT SaveLayout(const QString& path);
    // Appends a copy of m_newControl and makes it current.
    void AddNewControl();
    // A view of this document is going: m_panel and m_canvas move to another window's views,
    // or become null when none is left.
    void ReleaseView(fw::View* closing);

    // Every window of the document follows a change of the list or the current control:
    // each panel but except shows it afresh, and each canvas repaints.
    void ShowCurrentControlInPanels(CKarveloView_Controls* except);
    void RepaintCanvases();

    // The views of the window opened last; never a view that has been destroyed.
    QPointer<CKarveloView_Controls> m_panel;
    QPointer<CKarveloView> m_canvas;
    LayoutDataObject m_layout;
    // Points into m_layout.m_controls, or null; set again after every append and erase.
    LayoutControl* m_currentControl = nullptr;
    // The staging record of a drag on the canvas.
    LayoutControl m_newControl;
};
