#include "CliBridges.h"

#include "BridgeKinds.h"
#include "CliDevice.h"
#include "Configdataunit.h"

#include <cstring>

std::string TBridgeReport::Line() const {
    std::string line = device + " " + chip + " \"" + busName + "\": ";
    if (!opens)
        return line + "cannot be opened: " + problem +
               " (the udev rule 70-qmx4600-i2c-bridges.rules gives users access)";
    line += "usable, up to " + std::to_string(maxWrite - 1) + " register bytes a write and " +
            std::to_string(maxRead) + " a read";
    if (!tooLong.empty()) {
        line += "; " + std::to_string(tooLong.size()) + (tooLong.size() == 1 ? " register" : " registers") +
                " too long for it:";
        for (int sub : tooLong)
            line += " " + SubText(sub);
    }
    return line;
}

std::vector<TBridgeReport> DescribeBridges(IKernelI2c& kernel, const TConfigDataUnit* table) {
    std::vector<TBridgeReport> reports;
    for (const I2cBusEntry& bus : kernel.ListBuses()) {
        const BridgeKind* kind = FindBridgeKind(bus.name);
        if (!kind)
            continue;
        TBridgeReport& report = reports.emplace_back();
        report.device = "/dev/i2c-" + std::to_string(bus.number);
        report.busName = bus.name;
        report.chip = std::string(kind->chip);
        report.maxWrite = kind->maxWriteLength;
        report.maxRead = kind->maxReadLength;
        const int descriptor = kernel.Open(report.device);
        report.opens = descriptor >= 0;
        if (report.opens)
            kernel.Close(descriptor);
        else
            report.problem = std::strerror(-descriptor);
        if (table)
            for (int sub = 0; sub <= 0xFF; ++sub) {
                const int size = table->GetSize(sub);
                if (size > 0 && (size + 1 > report.maxWrite || size > report.maxRead))
                    report.tooLong.push_back(sub);
            }
    }
    return reports;
}
