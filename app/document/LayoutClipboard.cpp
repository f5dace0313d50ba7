#include "document/LayoutClipboard.h"

#include "LayoutJson.h"
#include "Strings.h"
#include "resources/Resource.h"
#include "streams/tsMemoryStream.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QString ownType()
{
    return QString::fromLatin1(CONTROLS_MIME_TYPE);
}

// The records, and their forms as asked for.
class ControlsData : public QMimeData
{
public:
    explicit ControlsData(std::vector<LayoutControl> controls)
    {
        m_layout.m_controls = std::move(controls);
    }
    QStringList formats() const override { return {ownType(), QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& type) const override { return formats().contains(type); }

protected:
    QVariant retrieveData(const QString& type, QMetaType) const override
    {
        if (type == ownType()) {
            tsMemoryStream stream;
            if (m_layout.Write(&stream) < 0)
                return QVariant();
            const auto& bytes = stream.Bytes();
            return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                              static_cast<qsizetype>(bytes.size()));
        }
        if (type == QStringLiteral("text/plain")) {
            // UTF-8: each byte of a name is the character of the same number.
            const std::string json = LayoutToJson(S_OK, m_layout);
            return QString::fromUtf8(json.data(), static_cast<qsizetype>(json.size()));
        }
        return QVariant();
    }

private:
    LayoutDataObject m_layout;
};

} // namespace

void CopyControlsToClipboard(std::vector<LayoutControl> controls)
{
    QGuiApplication::clipboard()->setMimeData(new ControlsData(std::move(controls)));
}

bool ClipboardMayHoldControls()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && (data->hasFormat(ownType()) || data->hasText());
}

bool ControlsFromClipboard(std::vector<LayoutControl>& controls, QString& why)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    LayoutDataObject layout;
    // Our own bytes first: a .lay stream reads as fast as a file, and checks as strictly.
    if (data && data->hasFormat(ownType())) {
        const QByteArray bytes = data->data(ownType());
        tsMemoryStream stream(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (!bytes.isEmpty() && layout.Read(&stream) >= 0 && !layout.m_controls.empty()) {
            controls = std::move(layout.m_controls);
            return true;
        }
        layout.m_controls.clear();
    }
    const QByteArray text = data && data->hasText() ? data->text().toUtf8() : QByteArray();
    std::string error;
    if (text.trimmed().isEmpty()) {
        why = fw::LoadString(resources::IDS_PASTE_EMPTY);
        return false;
    }
    if (!LayoutFromJson(std::string(text.constData(), static_cast<std::size_t>(text.size())),
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
