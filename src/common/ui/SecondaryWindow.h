#pragma once

#include <QWidget>

// A window the main window opens beside itself. Its handlers may wait for the meter, and a wait
// lets other handlers run, the user's close among them. So the window is never deleted while
// one of its handlers is suspended: a close hides it at once and runs its unload, the handler
// sees closing() at its next wait and ends, and the object goes when the last handler returned.
// Esc closes it like its title bar's button.
class SecondaryWindow : public QWidget {
    Q_OBJECT
public:
    explicit SecondaryWindow(QWidget* parent = nullptr);

    // The window was closed; a handler still running should end.
    bool closing() const { return m_closed; }

signals:
    // The window was closed and none of its handlers runs any more; it is deleted next.
    void finished();

protected:
    // Runs a handler that may wait.
    template <typename Handler> void whileRunning(Handler&& handler) {
        ++m_running;
        handler();
        --m_running;
        finishIfIdle();
    }
    bool running() const { return m_running > 0; }

    void closeEvent(QCloseEvent* event) override;
    // What closing the window resets in the shared state; runs once, at the close.
    virtual void Form_Unload() {}

private:
    void finishIfIdle();

    int m_running = 0;
    bool m_closed = false;
    bool m_finished = false;
};
