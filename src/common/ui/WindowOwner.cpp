#include "common/ui/WindowOwner.h"

#include "common/ui/SecondaryWindow.h"
#include "common/ui/WindowPlaces.h"

#include <vector>

namespace {

bool isOpen(const QWidget* window) {
    if (!window || !window->isVisible())
        return false;
    const auto* secondary = qobject_cast<const SecondaryWindow*>(window);
    return !secondary || !secondary->closing();
}

} // namespace

QWidget* WindowOwner::open(const QString& name) const {
    // The newest first: windows of one name keep the order they were taken in.
    const auto [first, last] = m_windows.equal_range(name);
    for (auto it = last; it != first;) {
        --it;
        if (isOpen(it->second))
            return it->second;
    }
    return nullptr;
}

void WindowOwner::adopt(const QString& name, QWidget* window, bool keepOpen) {
    if (!keepOpen)
        close(name);
    // Forget the windows that have gone meanwhile.
    std::erase_if(m_windows, [](const auto& entry) { return entry.second.isNull(); });
    m_windows.emplace(name, window);
    if (m_places)
        m_places->track(window);
}

void WindowOwner::close(const QString& name) {
    std::vector<QPointer<QWidget>> windows;
    const auto [first, last] = m_windows.equal_range(name);
    for (auto it = first; it != last; ++it)
        windows.push_back(it->second);
    for (const QPointer<QWidget>& window : windows) {
        if (isOpen(window))
            window->close();
    }
}

void WindowOwner::closeAll() {
    std::vector<QPointer<QWidget>> windows;
    for (const auto& entry : m_windows)
        windows.push_back(entry.second);
    for (const QPointer<QWidget>& window : windows) {
        if (window)
            window->close();
    }
}
