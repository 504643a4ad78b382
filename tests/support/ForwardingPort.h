#pragma once

#include "link/SerialPort.h"
#include "support/ScriptedPort.h"

#include <QStringList>
#include <algorithm>
#include <functional>
#include <limits>

// A port in front of another (typically the simulated meter behind the Demo port) that records
// every write as hex text, so that tests check the bytes a whole simulated meter was sent, and
// that can cut the line after some received bytes.
class ForwardingPort : public SerialPort {
public:
    explicit ForwardingPort(SerialPort& inner)
        : m_inner(inner) {}

    bool open(QString* error) override { return m_inner.open(error); }
    bool isOpen() const override { return m_inner.isOpen(); }
    void close() override { m_inner.close(); }
    void output(const QByteArray& bytes) override {
        writes << hexText(bytes);
        if (onOutput)
            onOutput(bytes);
        m_inner.output(bytes);
    }
    int inBufferCount() override { return m_inner.inBufferCount(); }
    void discardInput() override { m_inner.discardInput(); }
    // Past the cut, what the inner port delivers is lost on the way.
    QByteArray input() override {
        const QByteArray got = m_inner.input().left(std::max(0, cutAfter - received));
        received += static_cast<int>(got.size());
        return got;
    }

    // Writes as hex texts, in order: {"20", "59", ...}.
    QStringList writes;
    // Called on every write (after it is recorded), before the inner port sees it.
    std::function<void(const QByteArray& written)> onOutput;
    // Bytes let through so far, and the count after which the line is cut.
    int received = 0;
    int cutAfter = kNoCut;
    static constexpr int kNoCut = std::numeric_limits<int>::max();

private:
    SerialPort& m_inner;
};
