#pragma once

#include <QElapsedTimer>
#include <QString>

class CaptionedWindow;

// The progress of a long operation in a window's caption ("1200Records Completed"), shown a few
// dozen times a second rather than for every row: on X11 each caption change is a request to
// the display server, and a day of rows would spend most of its time there.
class ProgressCaption {
public:
    static constexpr qint64 kIntervalMs = 33;

    explicit ProgressCaption(CaptionedWindow& window);

    // Whether the next progress text would be shown: the first one, then one an interval after
    // the last shown.
    bool due() const;
    // Shows the text when due; true when it was shown.
    bool update(const QString& text);
    // Shows the text at once (the final count).
    void show(const QString& text);

private:
    CaptionedWindow& m_window;
    QElapsedTimer m_sinceShown;
    QString m_shown;
};
