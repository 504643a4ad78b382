#include "sim/engine/SimControl.h"

#include "sim/engine/MeterEngine.h"

#include <QStringList>
#include <functional>
#include <map>
#include <optional>

namespace {

std::optional<bool> onOff(const QString& word) {
    if (word == u"on")
        return true;
    if (word == u"off")
        return false;
    return std::nullopt;
}

} // namespace

QString applySimControl(MeterEngine& meter, const QString& line) {
    const QStringList words = line.simplified().toLower().split(u' ', Qt::SkipEmptyParts);
    if (words.size() != 2)
        return QStringLiteral("expected a command and one argument: %1").arg(line);
    const QString& name = words[0];
    const QString& argument = words[1];

    using Switch = std::function<void(bool)>;
    const std::map<QString, Switch> switches = {
        {QStringLiteral("silent"), [&](bool on) { meter.setSilent(on); }},
        {QStringLiteral("short"), [&](bool on) { meter.setShortFrames(on); }},
        {QStringLiteral("badframe"), [&](bool on) { meter.setBadFraming(on); }},
        {QStringLiteral("overload"), [&](bool on) { meter.setOverload(on); }},
        {QStringLiteral("paced"), [&](bool on) { meter.setPaced(on); }},
        {QStringLiteral("battery"), [&](bool on) { meter.setFlag(MeterEngine::BatteryLow, on); }},
        {QStringLiteral("hold"), [&](bool on) { meter.setFlag(MeterEngine::Held, on); }},
        {QStringLiteral("max"), [&](bool on) { meter.setFlag(MeterEngine::MaxShown, on); }},
        {QStringLiteral("memfull"), [&](bool on) { meter.setFlag(MeterEngine::MemoryFull, on); }},
        {QStringLiteral("logging"), [&](bool on) { meter.setFlag(MeterEngine::Logging, on); }},
    };
    if (const auto it = switches.find(name); it != switches.end()) {
        const auto on = onOff(argument);
        if (!on)
            return QStringLiteral("%1 takes on or off").arg(name);
        it->second(*on);
        return {};
    }

    bool isNumber = false;
    const int number = argument.toInt(&isNumber);
    if (name == u"lux") {
        bool isLux = false;
        const double lux = argument.toDouble(&isLux);
        if (!isLux || lux < 0)
            return QStringLiteral("lux takes an illuminance");
        meter.setDrift(false);
        meter.setIlluminance(lux);
        return {};
    }
    if (name == u"late") {
        if (!isNumber || number < 1 || number > 4)
            return QStringLiteral("late takes a count of 1 to 4");
        meter.delayNextFrameTail(number);
        return {};
    }
    if (name == u"trailing" || name == u"split") {
        if (!isNumber || number < (name == u"split" ? 1 : 0) || number > 64)
            return QStringLiteral("%1 takes a count").arg(name);
        if (name == u"trailing")
            meter.setTrailingBytes(number);
        else
            meter.setSplitReplies(number);
        return {};
    }
    if (name == u"range") {
        if (!isNumber || (number != 20 && number != 200 && number != 2000 && number != 20000))
            return QStringLiteral("range takes 20, 200, 2000 or 20000");
        meter.setRange(number);
        return {};
    }
    if (name == u"unit") {
        if (argument != u"lux" && argument != u"fc")
            return QStringLiteral("unit takes lux or fc");
        meter.setUnitFc(argument == u"fc");
        return {};
    }
    return QStringLiteral("unknown command: %1").arg(line);
}
