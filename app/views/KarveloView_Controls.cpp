#include "views/KarveloView_Controls.h"

#include "DialogUnits.h"
#include "Dialogs.h"
#include "Identifier.h"
#include "Strings.h"
#include "commands/LayoutCommand.h"
#include "document/KarveloDoc.h"
#include "document/LayoutHint.h"
#include "resources/Resource.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

#include <algorithm>

using namespace resources;

namespace {

// Form 1130, in template order, which is also the tab order; places in dialog units. A
// label's id is the field it names.
enum class Kind
{
    Edit,
    Button,
    Label,
    List,
};
struct Child
{
    Kind kind;
    int id;
    const char* text;
    int x, y, w, h;
    fw::Edit::Typing typing = fw::Edit::AnyText;
};
constexpr Child FORM[] = {
    {Kind::Edit, IDC_NAME, nullptr, 2, 12, 75, 14, fw::Edit::UpperCase},
    {Kind::Edit, IDC_ID, nullptr, 39, 29, 50, 14},
    {Kind::Edit, IDC_X1, nullptr, 39, 46, 50, 14, fw::Edit::DigitsOnly},
    {Kind::Edit, IDC_Y1, nullptr, 40, 62, 50, 14, fw::Edit::DigitsOnly},
    {Kind::Edit, IDC_WIDTH, nullptr, 40, 78, 50, 14, fw::Edit::DigitsOnly},
    {Kind::Edit, IDC_HEIGHT, nullptr, 40, 94, 50, 14, fw::Edit::DigitsOnly},
    {Kind::Edit, IDC_GUI_RESOURCE_ID, nullptr, 2, 126, 75, 14},
    {Kind::Edit, IDC_TEXT_ID, nullptr, 2, 154, 73, 14},
    {Kind::Button, IDC_DELETE, "Удалить", 3, 382, 90, 14},
    {Kind::Label, IDC_X1, "X1:", 2, 48, 12, 8},
    {Kind::Label, IDC_Y1, "Y1:", 2, 65, 12, 8},
    {Kind::Label, IDC_WIDTH, "Ширина:", 2, 80, 31, 8},
    {Kind::Label, IDC_HEIGHT, "Высота:", 2, 97, 32, 8},
    {Kind::Label, IDC_NAME, "Имя:", 2, 3, 38, 8},
    {Kind::Label, IDC_ID, "Id:", 2, 31, 9, 8},
    {Kind::Label, IDC_GUI_RESOURCE_ID, "GUI Ressource Id:", 2, 115, 60, 8},
    {Kind::Label, IDC_TEXT_ID, "Текст ID:", 2, 144, 39, 8},
    {Kind::List, IDC_CONTROL_LIST, nullptr, 0, 182, 95, 191},
};

// The children that follow the panel's width, where the size handler puts them, in pixels:
// as wide as the panel less 5, and at least MIN_WIDTH.
struct Stretched
{
    int id;
    int x, y, h;
};
constexpr Stretched STRETCHED[] = {{IDC_CONTROL_LIST, 1, 290, 320}, {IDC_NAME, 2, 18, 22}};
constexpr int MIN_WIDTH = 60;

} // namespace

CKarveloView_Controls::CKarveloView_Controls()
{
    setFont(fw::DialogFont());
    const fw::DialogUnits du(font());
    for (const Child& child : FORM) {
        const QRect place = du.Rect(child.x, child.y, child.w, child.h);
        switch (child.kind) {
        case Kind::Edit:
            AddEdit(child.id, place, child.typing);
            break;
        case Kind::Button:
            m_delete = new QPushButton(QString::fromUtf8(child.text), this);
            m_delete->setObjectName(QString::number(child.id));
            m_delete->setGeometry(place);
            connect(m_delete, &QPushButton::clicked, this, &CKarveloView_Controls::OnDelete);
            break;
        case Kind::Label: {
            auto* label = new QLabel(QString::fromUtf8(child.text), this);
            label->setGeometry(place);
            label->setBuddy(Edit(child.id));
            break;
        }
        case Kind::List:
            // Unsorted: a row's index is the control's index in the list.
            m_listControls = new fw::ListBox(this);
            m_listControls->setObjectName(QString::number(child.id));
            m_listControls->setGeometry(place);
            break;
        }
    }
    m_listControls->SetRows(
        [this] {
            const CKarveloDoc* doc = GetDocument();
            return doc ? static_cast<int>(doc->m_layout.m_controls.size()) : 0;
        },
        [this](int row) {
            const CKarveloDoc* doc = GetDocument();
            return doc && static_cast<std::size_t>(row) < doc->m_layout.m_controls.size()
                       ? fw::FromBytes(
                             doc->m_layout.m_controls[static_cast<std::size_t>(row)].m_name)
                       : QString();
        });
    connect(m_listControls, &fw::ListBox::rowSelected, this,
            &CKarveloView_Controls::OnSelectionChange);
}

CKarveloView_Controls::~CKarveloView_Controls()
{
    if (CKarveloDoc* doc = GetDocument())
        doc->ReleaseView(doc->m_panel, this);
}

fw::Edit* CKarveloView_Controls::AddEdit(int id, const QRect& place, fw::Edit::Typing typing)
{
    auto* edit = new fw::Edit(this, typing);
    edit->setObjectName(QString::number(id));
    edit->setGeometry(place);
    m_edits[id] = edit;
    edit->installEventFilter(this);
    if (id == IDC_NAME)
        connect(edit, &QLineEdit::textChanged, this, &CKarveloView_Controls::OnNameChange);
    else
        connect(edit, &QLineEdit::textChanged, this, [this, id] { OnEditChange(id); });
    return edit;
}

CKarveloDoc* CKarveloView_Controls::GetDocument() const
{
    return static_cast<CKarveloDoc*>(fw::View::GetDocument());
}

bool CKarveloView_Controls::DoDataExchange(fw::DataExchange& dx)
{
    return dx.Float(Edit(IDC_X1), m_fX1) && dx.Float(Edit(IDC_Y1), m_fY1) &&
           dx.Float(Edit(IDC_WIDTH), m_fWidth) && dx.Float(Edit(IDC_HEIGHT), m_fHeight) &&
           dx.Text(Edit(IDC_NAME), m_strName) && dx.Unsigned(Edit(IDC_ID), m_dwId) &&
           dx.Unsigned(Edit(IDC_GUI_RESOURCE_ID), m_dwGuiResourceId) &&
           dx.Unsigned(Edit(IDC_TEXT_ID), m_dwTextId);
}

void CKarveloView_Controls::OnInitialUpdate()
{
    fw::FormView::OnInitialUpdate();
    ShowCurrentControl();
    if (CKarveloDoc* doc = GetDocument())
        doc->m_panel = this;
}

void CKarveloView_Controls::CopyCurrentIntoFields()
{
    const LayoutControl& c = *GetDocument()->m_currentControl;
    m_fX1 = c.m_x1;
    m_fY1 = c.m_y1;
    m_fWidth = c.m_x2 - c.m_x1;
    m_fHeight = c.m_y2 - c.m_y1;
    m_strName = c.m_name;
    m_dwId = c.m_id;
    m_dwGuiResourceId = c.m_guiResourceId;
    m_dwTextId = c.m_textId;
    UpdateData(false);
}

void CKarveloView_Controls::ShowCurrentControl()
{
    CKarveloDoc* doc = GetDocument();
    const bool enabled = doc && doc->m_currentControl;
    EnableFields(enabled);
    // Without a current control the edits keep what they held, greyed.
    if (enabled)
        CopyCurrentIntoFields();
    FillControlList();
}

void CKarveloView_Controls::EnableFields(bool enabled)
{
    for (int id : {IDC_X1, IDC_Y1, IDC_WIDTH, IDC_HEIGHT, IDC_NAME, IDC_ID, IDC_GUI_RESOURCE_ID,
                   IDC_TEXT_ID})
        Edit(id)->setEnabled(enabled);
    m_listControls->setEnabled(enabled);
    m_delete->setEnabled(enabled);
}

void CKarveloView_Controls::FillControlList()
{
    m_filling = true;
    m_listControls->Refill();
    m_filling = false;
    MarkCurrentRow();
}

void CKarveloView_Controls::MarkCurrentRow()
{
    const CKarveloDoc* doc = GetDocument();
    m_listControls->MarkRow(doc ? doc->CurrentIndex() : -1);
}

void CKarveloView_Controls::OnUpdate(fw::View*, const fw::Hint* hint)
{
    const auto* change = dynamic_cast<const CLayoutHint*>(hint);
    if (!change || (change->flags & (CLayoutHint::LIST | CLayoutHint::NAMES))) {
        ShowCurrentControl();
        return;
    }
    CKarveloDoc* doc = GetDocument();
    const int current = doc ? doc->CurrentIndex() : -1;
    if ((change->flags & CLayoutHint::CURRENT) ||
        (current >= 0 && change->Touches(static_cast<std::size_t>(current)))) {
        // Another view changed what this panel shows. A row picked here earlier would name
        // another control than the current one now: Delete must not reach it.
        EnableFields(current >= 0);
        if (current >= 0)
            CopyCurrentIntoFields();
        m_filling = true;
        m_listControls->clearSelection();
        m_filling = false;
        MarkCurrentRow();
    }
}

bool CKarveloView_Controls::eventFilter(QObject* watched, QEvent* event)
{
    // Keys typed into a field after it took the focus start a step of their own.
    if (event->type() == QEvent::FocusIn)
        if (CKarveloDoc* doc = GetDocument())
            doc->Model().NewGesture();
    return fw::FormView::eventFilter(watched, event);
}

void CKarveloView_Controls::OnEditChange(int id)
{
    if (InExchange())
        return;
    CKarveloDoc* doc = GetDocument();
    UpdateData(true); // an unreadable field has been reported; the handler goes on all the same
    if (!doc || !doc->m_currentControl)
        return;
    LayoutControl c = *doc->m_currentControl;
    unsigned step = 0;
    int merge = MERGE_NONE;
    switch (id) {
    case IDC_X1:
        c.m_x1 = m_fX1;
        c.m_x2 = m_fX1 + m_fWidth;
        step = IDS_STEP_X1;
        merge = MERGE_X1;
        break;
    case IDC_Y1:
        c.m_y1 = m_fY1;
        c.m_y2 = m_fY1 + m_fHeight;
        step = IDS_STEP_Y1;
        merge = MERGE_Y1;
        break;
    case IDC_WIDTH:
        c.m_x2 = m_fX1 + m_fWidth;
        step = IDS_STEP_WIDTH;
        merge = MERGE_WIDTH;
        break;
    case IDC_HEIGHT:
        c.m_y2 = m_fY1 + m_fHeight;
        step = IDS_STEP_HEIGHT;
        merge = MERGE_HEIGHT;
        break;
    case IDC_ID:
        c.m_id = m_dwId;
        step = IDS_STEP_ID;
        merge = MERGE_ID;
        break;
    case IDC_GUI_RESOURCE_ID:
        c.m_guiResourceId = m_dwGuiResourceId;
        step = IDS_STEP_GUI_RESOURCE_ID;
        merge = MERGE_GUI_RESOURCE_ID;
        break;
    case IDC_TEXT_ID:
        c.m_textId = m_dwTextId;
        step = IDS_STEP_TEXT_ID;
        merge = MERGE_TEXT_ID;
        break;
    default:
        return;
    }
    doc->Model().ChangeControl(this, static_cast<std::size_t>(doc->CurrentIndex()), c,
                               fw::LoadString(step), merge);
}

bool CKarveloView_Controls::IsValidIdentifier(tstring name)
{
    return IsIdentifier(name);
}

void CKarveloView_Controls::OnNameChange()
{
    if (InExchange())
        return;
    CKarveloDoc* doc = GetDocument();
    UpdateData(true);
    if (m_strName.empty())
        return;
    if (!IsValidIdentifier(m_strName)) {
        fw::MessageBox(IDS_INVALID_IDENTIFIER, fw::MB_OK, fw::MB_ICONWARNING);
        return;
    }
    if (!doc || !doc->m_currentControl)
        return;
    LayoutControl renamed = *doc->m_currentControl;
    renamed.m_name = m_strName;
    doc->Model().ChangeControl(this, static_cast<std::size_t>(doc->CurrentIndex()), renamed,
                               fw::LoadString(IDS_STEP_RENAME), MERGE_NAME);
    FillControlList();
}

void CKarveloView_Controls::OnSelectionChange()
{
    if (m_filling || InExchange())
        return;
    CKarveloDoc* doc = GetDocument();
    const int row = m_listControls->SelectedRow();
    if (!doc || row < 0 || static_cast<std::size_t>(row) >= doc->m_layout.m_controls.size())
        return;
    doc->Model().SetCurrent(this, row);
    CopyCurrentIntoFields();
    MarkCurrentRow();
}

void CKarveloView_Controls::OnDelete()
{
    CKarveloDoc* doc = GetDocument();
    const int row = m_listControls->SelectedRow();
    if (!doc)
        return;
    const auto& controls = doc->m_layout.m_controls;
    // The row must still name a control of this document's list.
    if (row < 0 || static_cast<std::size_t>(row) >= controls.size())
        return;
    // The first control becomes current, if one is left.
    doc->Model().RemoveControls(this, {static_cast<std::size_t>(row)}, controls.size() > 1 ? 0 : -1,
                                fw::LoadString(IDS_STEP_DELETE));
    ShowCurrentControl();
}

void CKarveloView_Controls::resizeEvent(QResizeEvent* event)
{
    fw::FormView::resizeEvent(event);
    if (!m_listControls)
        return;
    const int w = std::max(width() - 5, MIN_WIDTH);
    for (const Stretched& child : STRETCHED) {
        QWidget* widget = findChild<QWidget*>(QString::number(child.id));
        widget->setGeometry(child.x, child.y, w, child.h);
        widget->raise();
        widget->show();
    }
}

QSize CKarveloView_Controls::sizeHint() const
{
    // The form is 403 dialog units high; the splitter gives it 170 pixels of width.
    return QSize(170, fw::DialogUnits(font()).Y(403));
}

bool CKarveloView_Controls::IsEditControl(const QWidget* widget)
{
    return qobject_cast<const fw::Edit*>(widget);
}

fw::Edit* CKarveloView_Controls::FocusedEdit() const
{
    QWidget* focus = QApplication::focusWidget();
    return IsEditControl(focus) ? static_cast<fw::Edit*>(focus) : nullptr;
}

void CKarveloView_Controls::OnUpdateEditCopyCut(fw::CommandState& state)
{
    fw::Edit* edit = FocusedEdit();
    state.Enable(edit && edit->hasSelectedText());
}

void CKarveloView_Controls::OnUpdateEditPaste(fw::CommandState& state)
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    state.Enable(FocusedEdit() && data && data->hasText());
}

void CKarveloView_Controls::OnUpdateEditUndo(fw::CommandState& state)
{
    fw::Edit* edit = FocusedEdit();
    state.Enable(edit && edit->CanUndo());
}

void CKarveloView_Controls::OnEditCopy()
{
    if (fw::Edit* edit = FocusedEdit())
        edit->Copy();
}

void CKarveloView_Controls::OnEditCut()
{
    if (fw::Edit* edit = FocusedEdit())
        edit->Cut();
}

void CKarveloView_Controls::OnEditPaste()
{
    if (fw::Edit* edit = FocusedEdit())
        edit->Paste();
}

void CKarveloView_Controls::OnEditUndo()
{
    if (fw::Edit* edit = FocusedEdit())
        edit->Undo();
}

bool CKarveloView_Controls::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    static const fw::CommandTable<CKarveloView_Controls> table = {
        {fw::ID_EDIT_COPY, &CKarveloView_Controls::OnEditCopy,
         &CKarveloView_Controls::OnUpdateEditCopyCut},
        {fw::ID_EDIT_CUT, &CKarveloView_Controls::OnEditCut,
         &CKarveloView_Controls::OnUpdateEditCopyCut},
        {fw::ID_EDIT_PASTE, &CKarveloView_Controls::OnEditPaste,
         &CKarveloView_Controls::OnUpdateEditPaste},
        {fw::ID_EDIT_UNDO, &CKarveloView_Controls::OnEditUndo,
         &CKarveloView_Controls::OnUpdateEditUndo},
    };
    return table.Dispatch(this, id, state) || fw::FormView::OnCmdMsg(id, state);
}
