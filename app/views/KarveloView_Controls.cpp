#include "views/KarveloView_Controls.h"

#include "DataExchange.h"
#include "DialogUnits.h"
#include "Dialogs.h"
#include "Identifier.h"
#include "Strings.h"
#include "commands/LayoutCommand.h"
#include "document/KarveloDoc.h"
#include "document/LayoutHint.h"
#include "resources/Resource.h"
#include "views/EditorSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

#include <algorithm>
#include <bit>

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

// The step a field's change makes, and how its keystrokes merge.
struct FieldStep
{
    int id;
    unsigned text;
    int merge;
};
constexpr FieldStep STEPS[] = {
    {IDC_X1, IDS_STEP_X1, MERGE_X1},
    {IDC_Y1, IDS_STEP_Y1, MERGE_Y1},
    {IDC_WIDTH, IDS_STEP_WIDTH, MERGE_WIDTH},
    {IDC_HEIGHT, IDS_STEP_HEIGHT, MERGE_HEIGHT},
    {IDC_ID, IDS_STEP_ID, MERGE_ID},
    {IDC_GUI_RESOURCE_ID, IDS_STEP_GUI_RESOURCE_ID, MERGE_GUI_RESOURCE_ID},
    {IDC_TEXT_ID, IDS_STEP_TEXT_ID, MERGE_TEXT_ID},
};

FieldStep StepOf(int id)
{
    for (const FieldStep& step : STEPS)
        if (step.id == id)
            return step;
    return {id, 0, MERGE_NONE};
}

// The fields several selected controls can share, and the value each control shows in them.
struct SharedField
{
    int id;
    float (*value)(const LayoutControl&);
};
const SharedField SHARED[] = {
    {IDC_X1, [](const LayoutControl& c) { return c.m_x1; }},
    {IDC_Y1, [](const LayoutControl& c) { return c.m_y1; }},
    {IDC_WIDTH, [](const LayoutControl& c) { return c.m_x2 - c.m_x1; }},
    {IDC_HEIGHT, [](const LayoutControl& c) { return c.m_y2 - c.m_y1; }},
    {IDC_GUI_RESOURCE_ID,
     [](const LayoutControl& c) { return std::bit_cast<float>(c.m_guiResourceId); }},
    {IDC_TEXT_ID, [](const LayoutControl& c) { return std::bit_cast<float>(c.m_textId); }},
};

} // namespace

CKarveloView_Controls::CKarveloView_Controls(CEditorSettings& settings) : m_settings(settings)
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
    // The list has no label of its own; the fields are named by theirs (their buddies).
    setAccessibleName(fw::LoadString(IDS_PANEL_NAME));
    m_listControls->setAccessibleName(fw::LoadString(IDS_CONTROL_LIST_NAME));
    m_listControls->SetRows(
        [this] { return ShownRows(); },
        [this](int row) {
            const CKarveloDoc* doc = GetDocument();
            const int index = ControlOfRow(row);
            return doc && index >= 0
                       ? fw::FromBytes(
                             doc->m_layout.m_controls[static_cast<std::size_t>(index)].m_name)
                       : QString();
        });
    connect(m_listControls, &fw::ListBox::rowSelected, this,
            &CKarveloView_Controls::OnSelectionChange);
    connect(&m_settings, &CEditorSettings::queryChanged, this, [this] {
        Refilter();
        FillControlList();
    });
    connect(&m_settings, &CEditorSettings::toolChanged, this, [this] {
        const CKarveloDoc* doc = GetDocument();
        EnableFields(doc && doc->m_currentControl);
    });
}

int CKarveloView_Controls::ShownRows() const
{
    if (m_settings.Filtering())
        return static_cast<int>(m_rows.size());
    const CKarveloDoc* doc = GetDocument();
    return doc ? static_cast<int>(doc->m_layout.m_controls.size()) : 0;
}

int CKarveloView_Controls::ControlOfRow(int row) const
{
    if (row < 0 || row >= ShownRows())
        return -1;
    return m_settings.Filtering() ? static_cast<int>(m_rows[static_cast<std::size_t>(row)]) : row;
}

int CKarveloView_Controls::RowOfControl(int index) const
{
    if (index < 0 || !m_settings.Filtering())
        return index < ShownRows() ? index : -1;
    const auto at = std::lower_bound(m_rows.begin(), m_rows.end(), static_cast<std::size_t>(index));
    return at != m_rows.end() && *at == static_cast<std::size_t>(index)
               ? static_cast<int>(at - m_rows.begin())
               : -1;
}

void CKarveloView_Controls::Refilter()
{
    const CKarveloDoc* doc = GetDocument();
    m_rows.clear();
    if (doc && m_settings.Filtering())
        m_rows = m_settings.Query().Matching(doc->m_layout.m_controls);
    emit rowsChanged();
}

bool CKarveloView_Controls::FollowChangedRecords(const std::vector<std::size_t>& indices)
{
    const CKarveloDoc* doc = GetDocument();
    if (!doc || !m_settings.Filtering())
        return true;
    bool changed = false;
    for (std::size_t index : indices) {
        const bool matches = m_settings.Query().Matches(doc->m_layout.m_controls[index]);
        const auto at = std::lower_bound(m_rows.begin(), m_rows.end(), index);
        const bool shown = at != m_rows.end() && *at == index;
        if (matches && !shown)
            m_rows.insert(at, index);
        else if (!matches && shown)
            m_rows.erase(at);
        changed = changed || matches != shown;
    }
    if (changed)
        emit rowsChanged();
    return !changed;
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
    Refilter();
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
    ShowFields();
    FillControlList();
}

void CKarveloView_Controls::ShowFields()
{
    CKarveloDoc* doc = GetDocument();
    const bool enabled = doc && doc->m_currentControl;
    EnableFields(enabled);
    // Without a current control the edits keep what they held, greyed.
    if (enabled && Several())
        CopySharedIntoFields();
    else if (enabled)
        CopyCurrentIntoFields();
}

void CKarveloView_Controls::EnableFields(bool enabled)
{
    for (int id : {IDC_X1, IDC_Y1, IDC_WIDTH, IDC_HEIGHT, IDC_NAME, IDC_ID, IDC_GUI_RESOURCE_ID,
                   IDC_TEXT_ID})
        Edit(id)->setEnabled(enabled);
    // Several controls cannot share one name or one id.
    if (enabled && Several()) {
        Edit(IDC_NAME)->setEnabled(false);
        Edit(IDC_ID)->setEnabled(false);
    }
    // In the Select tool nothing may be current, yet a control can be picked from the list.
    const CKarveloDoc* doc = GetDocument();
    m_listControls->setEnabled(enabled ||
                               (m_settings.CurrentTool() == CEditorSettings::SelectTool && doc &&
                                !doc->m_layout.m_controls.empty()));
    m_delete->setEnabled(enabled);
}

bool CKarveloView_Controls::TouchesSelection(const LayoutChange& change) const
{
    if (!(change.flags & LayoutChange::RECORDS))
        return false;
    if (change.indices.empty())
        return true;
    const auto& selected = GetDocument()->Selection().selected;
    return std::any_of(change.indices.begin(), change.indices.end(), [&](std::size_t index) {
        return std::binary_search(selected.begin(), selected.end(), index);
    });
}

bool CKarveloView_Controls::Several() const
{
    const CKarveloDoc* doc = GetDocument();
    return doc && doc->Selection().selected.size() > 1;
}

void CKarveloView_Controls::CopySharedIntoFields()
{
    const CKarveloDoc* doc = GetDocument();
    const auto& controls = doc->m_layout.m_controls;
    const auto& selected = doc->Selection().selected;
    // A field shows the value every selected control has, and stays empty where they differ.
    for (const SharedField& field : SHARED) {
        const LayoutControl& first = controls[selected.front()];
        const float value = field.value(first);
        bool same = true;
        for (std::size_t index : selected) {
            const float other = field.value(controls[index]);
            if (std::bit_cast<std::uint32_t>(other) != std::bit_cast<std::uint32_t>(value)) {
                same = false;
                break;
            }
        }
        const bool integer = field.id == IDC_GUI_RESOURCE_ID || field.id == IDC_TEXT_ID;
        const QString text =
            !same     ? QString()
            : integer ? fw::FormatUnsigned(field.id == IDC_TEXT_ID ? first.m_textId
                                                                   : first.m_guiResourceId)
                      : fw::FormatFloat(value);
        m_showing = true;
        Edit(field.id)->setText(text);
        m_showing = false;
    }
    // No two controls share a name, and ids seldom: both stay empty rather than show one
    // control's among many.
    m_showing = true;
    Edit(IDC_NAME)->clear();
    Edit(IDC_ID)->clear();
    m_showing = false;
}

void CKarveloView_Controls::OnSharedEditChange(int id)
{
    // One field alone is read: the others may be empty where the controls differ.
    CKarveloDoc* doc = GetDocument();
    fw::Edit* edit = Edit(id);
    if (!doc || edit->text().trimmed().isEmpty())
        return;
    const bool integer = id == IDC_GUI_RESOURCE_ID || id == IDC_TEXT_ID;
    fw::DataExchange exchange(true);
    float number = 0;
    std::uint32_t whole = 0;
    if (integer ? !exchange.Unsigned(edit, whole) : !exchange.Float(edit, number))
        return;
    IndexedControls values;
    const auto& controls = doc->m_layout.m_controls;
    values.reserve(doc->Selection().selected.size());
    for (std::size_t index : doc->Selection().selected) {
        LayoutControl c = controls[index];
        switch (id) {
        case IDC_X1:
            c.m_x2 = number + (c.m_x2 - c.m_x1); // each keeps its own width
            c.m_x1 = number;
            break;
        case IDC_Y1:
            c.m_y2 = number + (c.m_y2 - c.m_y1);
            c.m_y1 = number;
            break;
        case IDC_WIDTH:
            c.m_x2 = c.m_x1 + number;
            break;
        case IDC_HEIGHT:
            c.m_y2 = c.m_y1 + number;
            break;
        case IDC_GUI_RESOURCE_ID:
            c.m_guiResourceId = whole;
            break;
        case IDC_TEXT_ID:
            c.m_textId = whole;
            break;
        default:
            return;
        }
        values.emplace_back(index, std::move(c));
    }
    const FieldStep step = StepOf(id);
    doc->Model().ChangeControls(this, std::move(values), fw::LoadString(step.text), step.merge);
    if (!FollowChangedRecords(doc->Selection().selected))
        FillControlList();
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
    m_listControls->MarkRow(RowOfControl(doc ? doc->CurrentIndex() : -1));
}

void CKarveloView_Controls::OnUpdate(fw::View*, const fw::Hint* hint)
{
    const auto* change = dynamic_cast<const CLayoutHint*>(hint);
    // The rows follow a query: a few records are looked at again, anything more at once.
    bool rowsHold = true;
    if (m_settings.Filtering()) {
        if (!change || (change->flags & CLayoutHint::LIST) ||
            ((change->flags & CLayoutHint::RECORDS) && change->indices.empty())) {
            Refilter();
            rowsHold = false;
        } else if (change->flags & CLayoutHint::RECORDS) {
            rowsHold = FollowChangedRecords(change->indices);
        }
    }
    if (!change || !rowsHold || (change->flags & (CLayoutHint::LIST | CLayoutHint::NAMES))) {
        ShowCurrentControl();
        return;
    }
    CKarveloDoc* doc = GetDocument();
    const int current = doc ? doc->CurrentIndex() : -1;
    if ((change->flags & (CLayoutHint::CURRENT | CLayoutHint::SELECTION)) ||
        (current >= 0 && change->Touches(static_cast<std::size_t>(current))) ||
        (Several() && TouchesSelection(*change))) {
        // Another view changed what this panel shows. A row picked here earlier would name
        // another control than the current one now: Delete must not reach it.
        ShowFields();
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
    if (InExchange() || m_showing)
        return;
    if (Several()) {
        OnSharedEditChange(id);
        return;
    }
    CKarveloDoc* doc = GetDocument();
    UpdateData(true); // an unreadable field has been reported; the handler goes on all the same
    if (!doc || !doc->m_currentControl)
        return;
    LayoutControl c = *doc->m_currentControl;
    switch (id) {
    case IDC_X1:
        c.m_x1 = m_fX1;
        c.m_x2 = m_fX1 + m_fWidth;
        break;
    case IDC_Y1:
        c.m_y1 = m_fY1;
        c.m_y2 = m_fY1 + m_fHeight;
        break;
    case IDC_WIDTH:
        c.m_x2 = m_fX1 + m_fWidth;
        break;
    case IDC_HEIGHT:
        c.m_y2 = m_fY1 + m_fHeight;
        break;
    case IDC_ID:
        c.m_id = m_dwId;
        break;
    case IDC_GUI_RESOURCE_ID:
        c.m_guiResourceId = m_dwGuiResourceId;
        break;
    case IDC_TEXT_ID:
        c.m_textId = m_dwTextId;
        break;
    default:
        return;
    }
    const FieldStep step = StepOf(id);
    doc->Model().ChangeControl(this, static_cast<std::size_t>(doc->CurrentIndex()), c,
                               fw::LoadString(step.text), step.merge);
    // A control that no longer matches the query leaves the list, one that does comes in.
    if (!FollowChangedRecords({static_cast<std::size_t>(doc->CurrentIndex())}))
        FillControlList();
}

bool CKarveloView_Controls::IsValidIdentifier(tstring name)
{
    return IsIdentifier(name);
}

void CKarveloView_Controls::OnNameChange()
{
    if (InExchange() || m_showing)
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
    FollowChangedRecords({static_cast<std::size_t>(doc->CurrentIndex())});
    FillControlList();
}

void CKarveloView_Controls::OnSelectionChange()
{
    if (m_filling || InExchange())
        return;
    CKarveloDoc* doc = GetDocument();
    const int index = ControlOfRow(m_listControls->SelectedRow());
    if (!doc || index < 0 || static_cast<std::size_t>(index) >= doc->m_layout.m_controls.size())
        return;
    doc->Model().SetCurrent(this, index);
    CopyCurrentIntoFields();
    MarkCurrentRow();
}

void CKarveloView_Controls::OnDelete()
{
    CKarveloDoc* doc = GetDocument();
    const int index = ControlOfRow(m_listControls->SelectedRow());
    if (!doc)
        return;
    const auto& controls = doc->m_layout.m_controls;
    // The row must still name a control of this document's list.
    if (index < 0 || static_cast<std::size_t>(index) >= controls.size())
        return;
    // The first control becomes current, if one is left.
    doc->Model().RemoveControls(this, {static_cast<std::size_t>(index)},
                                controls.size() > 1 ? 0 : -1, fw::LoadString(IDS_STEP_DELETE));
    if (m_settings.Filtering())
        Refilter();
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
