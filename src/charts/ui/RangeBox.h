#pragma once

#include "charts/RangeEntry.h"

#include <QLineEdit>
#include <functional>

// A number box of the range dialogs: typed keys other than those it takes are discarded
// (pasted text is not filtered), and Enter runs `onEnter` instead of reaching the box.
class RangeBox : public QLineEdit {
    Q_OBJECT
public:
    RangeBox(const char* name, BoxKeys keys, QWidget* parent);

    std::function<void()> onEnter;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    BoxKeys m_keys;
};

// A caption panel above a box: its text centred on a raised panel.
class QLabel;
QLabel* captionPanel(const char* name, const QString& caption, QWidget* parent);
