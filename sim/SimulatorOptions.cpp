#include "SimulatorOptions.h"

#include "VirtualAdapterProtocol.h"

std::optional<SimulatorOptions> ParseSimulatorOptions(const std::vector<std::string>& arguments,
                                                      std::string& error) {
    SimulatorOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--quiet") {
            options.quiet = true;
            continue;
        }
        if (option == "--help") {
            options.help = true;
            continue;
        }
        if (option != "--socket" && option != "--rate" && option != "--mclk" && option != "--nack" &&
            option != "--send") {
            error = "unknown option " + option;
            return std::nullopt;
        }
        if (i + 1 == arguments.size()) {
            error = option + " needs a value";
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        if (option == "--socket") {
            options.socketPath = value;
        } else if (option == "--send") {
            options.send = value;
        } else if (option == "--nack") {
            options.nacks.push_back(value == "all" ? "ALL" : value == "off" ? "OFF" : value);
        } else {
            const std::optional<int> number = VirtualAdapter::ParseDecimal(value, 1000000);
            if (!number) {
                error = option + " needs a number, not " + value;
                return std::nullopt;
            }
            (option == "--rate" ? options.sampleRate : options.mclkRatio) = number;
        }
    }
    if (options.send && (options.sampleRate || options.mclkRatio || !options.nacks.empty())) {
        error = "--send steers a running simulator: send SIM RATE, SIM MCLK or SIM NACK lines instead";
        return std::nullopt;
    }
    return options;
}
