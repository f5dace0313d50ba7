#include "shell/AboutDlg.h"

#include "DialogUnits.h"
#include "resources/Menus.h"
#include "resources/Version.h"

#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    // A modal frame with caption and system menu: no sizing buttons.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromUtf8("Info uber Karvelo"));
    setFont(fw::DialogFont());
    const fw::DialogUnits du(font());
    setFixedSize(du.X(227), du.Y(80));

    auto* icon = new QLabel(this);
    icon->setPixmap(resources::MainIcon().pixmap(32, 32));
    icon->setGeometry(du.Rect(11, 10, 21, 20));

    auto* version = new QLabel(QString::fromUtf8("Karvelo Version 1.0"), this);
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(du.Rect(49, 9, 119, 8));

    auto* copyright = new QLabel(QString::fromUtf8(resources::LEGAL_COPYRIGHT), this);
    copyright->setGeometry(du.Rect(70, 22, 119, 8));

    auto* notice = new QLabel(
        QString::fromUtf8("Editor für Bildschirm-Layouts aus\nrechteckigen Steuerelementen."),
        this);
    notice->setGeometry(du.Rect(42, 36, 159, 25));
    notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(du.Rect(95, 63, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
