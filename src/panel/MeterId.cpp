#include "panel/MeterId.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/PauseGate.h"
#include "link/LoggerReplies.h"
#include "link/MeterExchange.h"

std::optional<Value> readMeterId(AppContext& context) {
    if (!context.port)
        return std::nullopt;
    LinkResult<QByteArray> reply;
    {
        const ScopedPause pause(context.poll);
        // The main window lets go of the port when it closes: the exchange ends at its next wait.
        MeterExchange exchange(*context.port, context.clock, [&context] { return !context.port; });
        reply = exchange.ReadSettings();
    }
    if (reply.status == LinkStatus::NoReply)
        context.dialogs.message(kMeterNotResponding, {}, Dialogs::Icon::Critical);
    if (!reply.ok())
        return std::nullopt;
    const std::optional<SettingsReply> settings = SettingsReply::decode(reply.reply);
    if (!settings)
        return std::nullopt;
    return Value::fromNumber(settings->id);
}
