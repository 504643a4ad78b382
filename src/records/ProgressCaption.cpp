#include "records/ProgressCaption.h"

#include "records/FileTransfer.h"

ProgressCaption::ProgressCaption(CaptionedWindow& window)
    : m_window(window) {}

bool ProgressCaption::due() const {
    return !m_sinceShown.isValid() || m_sinceShown.elapsed() >= kIntervalMs;
}

bool ProgressCaption::update(const QString& text) {
    if (!due())
        return false;
    show(text);
    return true;
}

void ProgressCaption::show(const QString& text) {
    if (text != m_shown) {
        m_window.setCaption(text);
        m_shown = text;
    }
    m_sinceShown.start();
}
