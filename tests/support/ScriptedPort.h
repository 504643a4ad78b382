#pragma once

#include "link/SerialPort.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class Clock;

// A fake serial port on the test's clock: records every write with its time and serves bytes
// that the test schedules, whole or in pieces, at virtual times.
class ScriptedPort : public SerialPort {
public:
    explicit ScriptedPort(Clock& clock);

    struct Write {
        double time;
        QByteArray bytes;
    };

    bool open(QString* error) override;
    bool isOpen() const override { return m_open; }
    void close() override { m_open = false; }
    void output(const QByteArray& bytes) override;
    int inBufferCount() override;
    void discardInput() override;
    QByteArray input() override;

    // Bytes that arrive `delay` seconds from now.
    void deliver(const QByteArray& bytes, double delay = 0.01);
    // Bytes that arrive in `pieces` parts, the first after `delay`, then one every `gap`.
    void deliverPieces(const QByteArray& bytes, int pieces, double delay, double gap);

    // Called on every write (after it is recorded); typically schedules the meter's answer.
    std::function<void(const QByteArray& written)> onOutput;
    // Answers every " " with the next entry of this queue (an empty entry: no answer); when the
    // queue runs dry, " " draws `defaultReply`.
    std::deque<QByteArray> replies;
    QByteArray defaultReply;
    double replyDelay = 0.01;

    bool failOpen = false;
    QString openError;

    std::vector<Write> writes;
    // "out 20", "out 57 00 00 D2", "input 5", "discard": the calls in order (waits come from
    // the clock when it shares the list).
    QStringList* trace = nullptr;

    // Writes as hex texts, in order: {"20", "59", ...}.
    QStringList writtenHex() const;

private:
    struct Pending {
        double at;
        QByteArray bytes;
    };
    void settle();

    Clock& m_clock;
    bool m_open = false;
    QByteArray m_buffer;
    std::vector<Pending> m_pending;
};

// "57 00 00 D2"
QString hexText(const QByteArray& bytes);
QByteArray fromHexText(const QString& text);
