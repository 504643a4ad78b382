#pragma once

#include "records/FileTransfer.h"
#include "records/RecordTableModel.h"

#include <QStringList>
#include <QWidget>

class QToolBar;
class RecordGrid;
struct AppContext;

// What the three record lists share: the toolbar `Toolbar1`, the grid `Grid` over a record
// model, the caption that carries the series' header, and the "Save", "Print" and "Plot"
// commands. The window deletes itself when closed; a close asked for while one of its commands
// runs (printing, loading) takes effect when that command has stopped.
class RecordListWindow : public QWidget, public CaptionedWindow {
    Q_OBJECT
public:
    ~RecordListWindow() override;

    RecordTableModel& model() { return m_model; }
    const RecordTableModel& model() const { return m_model; }
    RecordGrid& grid() { return *m_grid; }

    QString caption() const override;
    void setCaption(const QString& caption) override;
    bool closing() const override { return m_closeAsked; }

    // Dispatches on the key of a button of this window; other keys do nothing.
    void Toolbar1_ButtonClick(const QString& key);

signals:
    // "Plot" has set the plot values from this list; the plot window is to be shown.
    void plotRequested();

protected:
    struct Design {
        const char* name;
        const char* caption;
        int clientHeightTwips;
        QStringList keys;
    };

    RecordListWindow(AppContext& context, const Design& design);

    // Runs a command during which events are processed; a close asked for meanwhile waits.
    template <typename Command> void whileRunning(Command&& command) {
        ++m_running;
        command();
        --m_running;
        if (m_running == 0 && m_closeAsked)
            close();
    }

    // Where the lists beside the main window go: their left edge at its right edge.
    QPoint besidePanel() const;

    void closeEvent(QCloseEvent* event) override;
    virtual void Form_Unload() {}
    // The plot tells a list read from a file from a downloaded one.
    virtual bool plotsFromFileList() const { return false; }

    AppContext& m_context;

private:
    void buildToolbar(const QStringList& keys);

    RecordTableModel m_model;
    QToolBar* m_toolbar = nullptr;
    RecordGrid* m_grid = nullptr;
    QStringList m_keys;
    int m_running = 0;
    bool m_closeAsked = false;
};
