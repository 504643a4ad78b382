#include "support/ScriptedPort.h"

#include "link/Clock.h"

#include <algorithm>

ScriptedPort::ScriptedPort(Clock& clock)
    : m_clock(clock) {}

bool ScriptedPort::open(QString* error) {
    if (failOpen) {
        if (error)
            *error = openError;
        return false;
    }
    m_open = true;
    return true;
}

void ScriptedPort::output(const QByteArray& bytes) {
    writes.push_back({m_clock.monotonic(), bytes});
    if (trace)
        trace->append(QStringLiteral("out ") + hexText(bytes));
    if (bytes == QByteArray(" ") && !onOutput) {
        QByteArray reply = defaultReply;
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        }
        if (!reply.isEmpty())
            deliver(reply, replyDelay);
    }
    if (onOutput)
        onOutput(bytes);
}

void ScriptedPort::settle() {
    const double now = m_clock.monotonic();
    std::stable_sort(m_pending.begin(), m_pending.end(),
                     [](const Pending& a, const Pending& b) { return a.at < b.at; });
    auto it = m_pending.begin();
    for (; it != m_pending.end() && it->at <= now + 1e-9; ++it)
        m_buffer += it->bytes;
    m_pending.erase(m_pending.begin(), it);
}

int ScriptedPort::inBufferCount() {
    settle();
    return static_cast<int>(m_buffer.size());
}

void ScriptedPort::discardInput() {
    settle();
    m_buffer.clear();
    if (trace)
        trace->append(QStringLiteral("discard"));
}

QByteArray ScriptedPort::input() {
    settle();
    QByteArray taken;
    taken.swap(m_buffer);
    if (trace)
        trace->append(QStringLiteral("input %1").arg(taken.size()));
    return taken;
}

void ScriptedPort::deliver(const QByteArray& bytes, double delay) {
    m_pending.push_back({m_clock.monotonic() + delay, bytes});
}

void ScriptedPort::deliverPieces(const QByteArray& bytes, int pieces, double delay, double gap) {
    pieces = std::max(1, pieces);
    const qsizetype size = (bytes.size() + pieces - 1) / pieces;
    for (int i = 0; i < pieces; ++i) {
        const QByteArray piece = bytes.mid(i * size, size);
        if (!piece.isEmpty())
            m_pending.push_back({m_clock.monotonic() + delay + i * gap, piece});
    }
}

QStringList ScriptedPort::writtenHex() const {
    QStringList out;
    for (const Write& w : writes)
        out << hexText(w.bytes);
    return out;
}

QString hexText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QByteArray fromHexText(const QString& text) {
    return QByteArray::fromHex(text.toLatin1());
}
