#include "shell/SearchField.h"

#include "Strings.h"
#include "document/KarveloDoc.h"
#include "resources/Resource.h"
#include "views/EditorSettings.h"
#include "views/KarveloView_Controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

using namespace resources;

namespace {

QString problemText(const ControlQuery& query)
{
    switch (query.Problem()) {
    case ControlQuery::Error::UnknownField:
        return fw::FormatString(IDS_QUERY_UNKNOWN_FIELD, query.ProblemTerm());
    case ControlQuery::Error::NoValue:
        return fw::FormatString(IDS_QUERY_NO_VALUE, query.ProblemTerm());
    case ControlQuery::Error::NotANumber:
        return fw::FormatString(IDS_QUERY_NOT_A_NUMBER, query.ProblemTerm());
    case ControlQuery::Error::None:
        break;
    }
    return QString();
}

} // namespace

CSearchField::CSearchField(CEditorSettings& settings, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_edit(new QLineEdit(this)), m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("search"));
    m_edit->setObjectName(QStringLiteral("query"));
    m_edit->setPlaceholderText(fw::LoadString(IDS_FIND_PLACEHOLDER));
    m_edit->setAccessibleName(m_edit->placeholderText());
    m_edit->setClearButtonEnabled(true);
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
    m_tip = fw::TooltipOf(fw::LoadString(ID_EDIT_FIND));
    m_edit->setToolTip(m_tip);
    m_count->setObjectName(QStringLiteral("queryCount"));
    // The count keeps its room whether shown or not and whatever it says: a field that grew
    // while typed into would make the bar lay itself out again, and a bar out of room hides
    // what no longer fits, the field with the focus among them.
    const QString widest =
        fw::FormatString(IDS_FIND_COUNT, QStringLiteral("0000000"), QStringLiteral("0000000"));
    m_count->setFixedWidth(m_count->fontMetrics().horizontalAdvance(widest) + 4);
    QSizePolicy policy = m_count->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    m_count->setSizePolicy(policy);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->addWidget(m_edit);
    layout->addWidget(m_count);
    connect(m_edit, &QLineEdit::textChanged, this, &CSearchField::OnTextChanged);
    connect(m_edit, &QLineEdit::returnPressed, this, &CSearchField::selectMatching);
    ShowCount();
}

void CSearchField::OnTextChanged(const QString& text)
{
    m_settings.SetQueryText(text);
    const ControlQuery& query = m_settings.Query();
    QPalette palette = m_edit->style() ? m_edit->style()->standardPalette() : QPalette();
    if (!query.IsValid())
        palette.setColor(QPalette::Text, Qt::red);
    m_edit->setPalette(palette);
    m_edit->setToolTip(query.IsValid() ? m_tip : problemText(query));
    ShowCount();
}

void CSearchField::Follow(CKarveloView_Controls* panel)
{
    if (m_panel)
        disconnect(m_panel, nullptr, this, nullptr);
    m_panel = panel;
    if (m_panel)
        connect(m_panel, &CKarveloView_Controls::rowsChanged, this, &CSearchField::ShowCount);
    ShowCount();
}

void CSearchField::ShowCount()
{
    const CKarveloDoc* doc = m_panel ? m_panel->GetDocument() : nullptr;
    m_count->setVisible(m_settings.Filtering() && doc);
    if (m_settings.Filtering() && doc)
        m_count->setText(fw::FormatString(IDS_FIND_COUNT, QString::number(m_panel->ShownRows()),
                                          QString::number(doc->m_layout.m_controls.size())));
}

void CSearchField::TakeFocus()
{
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}
