#include "Render.h"

#include "LayoutPainter.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>

bool RenderLayoutPng(const LayoutDataObject& layout, long long current, const std::string& path,
                     std::string& error)
{
    QImage image(800 + 2 * CANVAS_MARGIN, 600 + 2 * CANVAS_MARGIN, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        const LayoutControl* highlighted =
            current >= 0 ? &layout.m_controls[static_cast<std::size_t>(current)] : nullptr;
        PaintLayout(painter, image.rect(), layout.m_controls, highlighted);
    }
    // Written beside the target and renamed over it, so a failure leaves the old picture.
    QSaveFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}
