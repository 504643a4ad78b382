#include "panel/PortOpener.h"

#include "common/SharedState.h"
#include "link/PortNames.h"
#include "link/SystemSerialPort.h"
#include "sim/engine/DemoPort.h"
#include "sim/engine/MeterEngine.h"

#include <QDateTime>

namespace {

// The demo meter lives as long as its port.
class OwnedDemoPort : public SerialPort {
public:
    OwnedDemoPort(MeterEngine engine, Clock& clock)
        : m_engine(std::move(engine))
        , m_port(m_engine, clock) {}
    bool open(QString* error) override { return m_port.open(error); }
    bool isOpen() const override { return m_port.isOpen(); }
    void close() override { m_port.close(); }
    void output(const QByteArray& bytes) override { m_port.output(bytes); }
    int inBufferCount() override { return m_port.inBufferCount(); }
    void discardInput() override { m_port.discardInput(); }
    QByteArray input() override { return m_port.input(); }

private:
    MeterEngine m_engine;
    DemoPort m_port;
};

} // namespace

std::unique_ptr<SerialPort> openerForChoice(const SharedState& state, Clock& clock) {
    if (state.ComPort >= 1 && state.ComPort <= 8)
        return std::make_unique<SystemSerialPort>(deviceForComPort(state.ComPort));
    if (state.ComDevice == kDemoPort) {
        const auto seed = static_cast<quint32>(QDateTime::currentMSecsSinceEpoch());
        return std::make_unique<OwnedDemoPort>(MeterEngine::demo(seed), clock);
    }
    if (state.ComDevice.startsWith(u'/'))
        return std::make_unique<SystemSerialPort>(state.ComDevice);
    return nullptr;
}
