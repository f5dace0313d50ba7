#include "MainFrame.h"

#include "resources/Resource.h"

#include <QGuiApplication>
#include <QToolBar>

#if __has_include(<X11/XKBlib.h>) && QT_CONFIG(xcb)
#define KARVELO_X11_LOCKS 1
#include <X11/XKBlib.h>
#endif

CMainFrame::CMainFrame() = default;

int CMainFrame::OnCreate()
{
    m_toolBar = LoadToolBar(resources::IDR_MAINFRAME, fw::ID_VIEW_TOOLBAR);
    if (!m_toolBar)
        return -1;
    // A flat bar with a grip, docking on any side or floating.
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    if (!CreateStatusBar(
            {fw::ID_SEPARATOR, fw::ID_INDICATOR_CAPS, fw::ID_INDICATOR_NUM, fw::ID_INDICATOR_SCRL}))
        return -1;
    return 0;
}

bool CMainFrame::IndicatorOn(fw::CommandId id) const
{
#ifdef KARVELO_X11_LOCKS
    // The lock state lives in the window system; other platforms leave the panes empty.
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return false;
    unsigned state = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) != Success)
        return false;
    const unsigned bit = id == fw::ID_INDICATOR_CAPS ? 1u : id == fw::ID_INDICATOR_NUM ? 2u : 4u;
    return (state & bit) != 0;
#else
    (void)id;
    return false;
#endif
}
