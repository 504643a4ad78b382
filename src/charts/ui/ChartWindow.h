#pragma once

#include "common/ui/SecondaryWindow.h"

#include <QImage>
#include <optional>

class QAction;
class QPainter;
class QToolBar;
class WindowOwner;
struct AppContext;

// What the two chart windows share: the toolbar `Toolbar1` with "Limit", "Print" and "Save
// Picture", and the retained image of the client area that all drawing goes into. The window
// only paints the image, so the chart survives being covered, and "Print" and "Save Picture"
// take it without the toolbar.
class ChartWindow : public SecondaryWindow {
    Q_OBJECT
public:
    const QImage& image() const { return m_image; }

    // Dispatches on the key of a toolbar button; other keys do nothing.
    void Toolbar1_ButtonClick(const QString& key);

protected:
    ChartWindow(AppContext& context, WindowOwner& owner, const char* name, const char* caption,
                QSize clientSize);

    // "Limit": the window's range dialog.
    virtual void showRangeDialog() = 0;

    // The picture "Save Picture" writes of the chart as shown; nothing when the user gave up.
    virtual std::optional<QImage> pictureToSave(const QImage& shown) { return shown; }

    // A further button at the toolbar's end; its clicks are the caller's to take.
    QAction* addToolbarButton(const QString& key, const QString& tooltip);

    // A white image of the client area's size to draw the chart on afresh.
    void clearImage();
    // Starts drawing on the image in the window's font.
    void beginDrawing(QPainter& painter);

    // Where the charts go: their left edge at the main window's right edge, their top at the
    // top of the screen.
    QPoint besidePanel() const;

    void paintEvent(QPaintEvent* event) override;

    AppContext& m_context;
    WindowOwner& m_owner;
    // The window's own caption, which a long plot's progress count replaces for a while.
    const QString m_caption;
    QImage m_image;

private:
    void savePicture(const QImage& shown);

    QToolBar* m_toolbar = nullptr;
};
