#include "support/ScriptedPrinter.h"

bool ScriptedPrinter::beginJob(const QString& title) {
    if (refuseBegin)
        return false;
    jobs.push_back({title, {}, false, false});
    m_open = true;
    return true;
}

void ScriptedPrinter::printLine(const QString& line) {
    if (!m_open) {
        ++strayLines;
        return;
    }
    jobs.back().lines.append(line);
    if (onLine)
        onLine(line);
}

bool ScriptedPrinter::endJob() {
    if (!m_open)
        return false;
    m_open = false;
    jobs.back().ended = !failEnd;
    return !failEnd;
}

void ScriptedPrinter::abortJob() {
    if (!m_open)
        return;
    m_open = false;
    jobs.back().aborted = true;
}

bool ScriptedPrinter::printImage(const QImage& image, const QString&) {
    if (refuseBegin)
        return false;
    images.push_back(image);
    return true;
}
