#include "Render.h"

#include "LayoutLabels.h"
#include "LayoutPainter.h"
#include "LayoutScreen.h"

#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>

#include <memory>

namespace {

// Text needs the font database, which only a QGuiApplication sets up. laytool makes one for
// the labels when the process has none, on a platform without a screen, and ends it once
// they are drawn: that also lets the font library go. Qt's own notes (a missing runtime
// folder) stay off laytool's standard error meanwhile.
class FontsForLabels
{
public:
    FontsForLabels() : m_previous(qInstallMessageHandler(dropMessage))
    {
        if (!QCoreApplication::instance())
            m_own = std::make_unique<QGuiApplication>(m_argc, m_argv);
    }
    ~FontsForLabels()
    {
        m_own.reset();
        qInstallMessageHandler(m_previous);
    }
    FontsForLabels(const FontsForLabels&) = delete;
    FontsForLabels& operator=(const FontsForLabels&) = delete;

    bool Ready() const { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

private:
    static void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

    QtMessageHandler m_previous;
    // The application takes the options it knows out of these: each one gets its own.
    char m_name[8] = "laytool", m_option[10] = "-platform", m_platform[10] = "offscreen";
    char* m_argv[4] = {m_name, m_option, m_platform, nullptr};
    int m_argc = 3;
    std::unique_ptr<QGuiApplication> m_own;
};

// The screen alone at the largest zoom that fits size pixels across: it is the wider side.
CanvasMapping thumbnailMapping(int size)
{
    CanvasMapping mapping{static_cast<double>(size) / SCREEN_WIDTH, 0, 0};
    mapping.originX = -mapping.X(0.0f);
    mapping.originY = -mapping.Y(0.0f);
    return mapping;
}

} // namespace

bool RenderLayoutPng(const LayoutDataObject& layout, const RenderOptions& options,
                     const std::string& path, std::string& error)
{
    CanvasMapping mapping;
    QSize size(SCREEN_WIDTH + 2 * CANVAS_MARGIN, SCREEN_HEIGHT + 2 * CANVAS_MARGIN);
    if (options.size > 0) {
        mapping = thumbnailMapping(options.size);
        size = QSize(options.size,
                     std::max(1, (options.size * SCREEN_HEIGHT + SCREEN_WIDTH / 2) / SCREEN_WIDTH));
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::vector<LayoutControl>& controls = layout.m_controls;
    // Names first: the outlines stay whole where a name of a larger control meets them.
    if (options.labels) {
        const FontsForLabels fonts;
        if (!fonts.Ready()) {
            error = "no fonts for the labels";
            return false;
        }
        PaintLabels(image, image.rect(), controls, mapping);
    }
    OutlineWriter writer(image, mapping);
    writer.Screen(OUTLINE_COLOUR.rgb());
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (static_cast<long long>(i) != options.current)
            writer.Control(controls[i], OUTLINE_COLOUR.rgb());
    if (options.current >= 0)
        writer.Control(controls[static_cast<std::size_t>(options.current)], HIGHLIGHT_COLOUR.rgb());

    // Written beside the target and renamed over it, so a failure leaves the old picture.
    QSaveFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}
