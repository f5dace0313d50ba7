#include "document/LayoutClipboard.h"

#include "LayoutJson.h"
#include "Strings.h"
#include "resources/Resource.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void CopyControlsToClipboard(const std::vector<LayoutControl>& controls)
{
    LayoutDataObject layout;
    layout.m_controls = controls;
    const std::string json = LayoutToJson(S_OK, layout);
    auto* data = new QMimeData;
    const QByteArray bytes(json.data(), static_cast<qsizetype>(json.size()));
    data->setData(QString::fromLatin1(CONTROLS_MIME_TYPE), bytes);
    // The JSON is UTF-8 (each byte of a name is the character of the same number).
    data->setText(QString::fromUtf8(bytes));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool ClipboardMayHoldControls()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && (data->hasFormat(QString::fromLatin1(CONTROLS_MIME_TYPE)) || data->hasText());
}

bool ControlsFromClipboard(std::vector<LayoutControl>& controls, QString& why)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QByteArray bytes;
    if (data && data->hasFormat(QString::fromLatin1(CONTROLS_MIME_TYPE)))
        bytes = data->data(QString::fromLatin1(CONTROLS_MIME_TYPE));
    else if (data && data->hasText())
        bytes = data->text().toUtf8();
    LayoutDataObject layout;
    std::string error;
    if (bytes.trimmed().isEmpty()) {
        why = fw::LoadString(resources::IDS_PASTE_EMPTY);
        return false;
    }
    if (!LayoutFromJson(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        layout, error)) {
        why = fw::FormatString(resources::IDS_PASTE_NOT_CONTROLS, QString::fromStdString(error));
        return false;
    }
    if (layout.m_controls.empty()) {
        why = fw::LoadString(resources::IDS_PASTE_EMPTY);
        return false;
    }
    controls = std::move(layout.m_controls);
    return true;
}
