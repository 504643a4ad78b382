#pragma once

#include "common/ui/SecondaryWindow.h"

class QTextBrowser;

// "luxlog Help": what the main toolbar's buttons do beside their pictures, the ports the start
// window accepts, where files go and the keys. Local text only; Close or Esc closes it.
class HelpWindow : public SecondaryWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    QTextBrowser& text() { return *m_text; }

private:
    QTextBrowser* m_text = nullptr;
};
