// Every window opens inside the usable part of its screen. The application
// object (btkapplication.h) calls btkFitOnScreen at the first show of each
// top-level window, before the window manager maps it; later shows keep the
// place the user gave the window.
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// The frame rectangle (window with its title bar and borders) moved and, when
// larger, shrunk into the area. A placed frame keeps its place as far as it
// fits; one not placed is centred in the area. frame gives the border widths
// the window manager adds around the window, which stay part of the rectangle.
// minimum is the smallest size of the window without its frame. An empty area
// gives the rectangle unchanged.
[[nodiscard]] QRect btkFitFrameIntoArea(QRect frameRect, const QRect& area, bool placed, const QMargins& frame,
                                        const QSize& minimum);

// Fits a top-level window about to be shown into its screen's available
// geometry (without panels and docks). Before the window manager has framed
// the window its frame is unknown: the frame of another shown window of the
// program stands in for it. Maximised, full-screen windows, pop-ups and
// child widgets are left alone; so is a window without a screen.
void btkFitOnScreen(QWidget* window);
