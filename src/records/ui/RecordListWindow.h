#pragma once

#include "common/ui/SecondaryWindow.h"
#include "records/FileTransfer.h"
#include "records/RecordTableModel.h"

#include <QStringList>

class QLabel;
class QToolBar;
class RecordGrid;
struct AppContext;

// What the three record lists share: the toolbar `Toolbar1`, the grid `Grid` over a record
// model, the caption that carries the series' header, and the "Save", "Print" and "Plot"
// commands. "Plot" is only announced: the window owner prepares and shows the plot.
class RecordListWindow : public SecondaryWindow, public CaptionedWindow {
    Q_OBJECT
public:
    ~RecordListWindow() override;

    RecordTableModel& model() { return m_model; }
    const RecordTableModel& model() const { return m_model; }
    RecordGrid& grid() { return *m_grid; }

    QString caption() const override;
    void setCaption(const QString& caption) override;
    bool closing() const override { return SecondaryWindow::closing(); }

    // While the list fills (a download, a file loading) its caption shows the progress and its
    // rows are incomplete, so its commands wait until it is done.
    void setFilling(bool filling);
    bool filling() const { return m_filling; }

    // The plot tells a list read from a file from a downloaded one.
    virtual bool plotsFromFileList() const { return false; }

    // A line beside the toolbar's buttons, for what the user must know about the list (why it
    // ended); the label is `LblNote`.
    void showNote(const QString& note);

    // Dispatches on the key of a button of this window; other keys do nothing.
    void Toolbar1_ButtonClick(const QString& key);
    // Ctrl+C: the selected rows onto the clipboard, with the titles.
    void copySelectedRows();

signals:
    // "Plot" was clicked on this complete list.
    void plotRequested();

protected:
    struct Design {
        const char* name;
        const char* caption;
        int clientHeightTwips;
        QStringList keys;
    };

    RecordListWindow(AppContext& context, const Design& design);

    // Where the lists beside the main window go: their left edge at its right edge.
    QPoint besidePanel() const;

    AppContext& m_context;

private:
    void buildToolbar(const QStringList& keys);

    RecordTableModel m_model;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_note = nullptr;
    RecordGrid* m_grid = nullptr;
    QStringList m_keys;
    bool m_filling = false;
};
