#include "KernelI2c.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// "i2c-12" gives 12; any other entry name gives nothing.
std::optional<int> BusNumber(std::string_view entry) {
    constexpr std::string_view prefix = "i2c-";
    if (!entry.starts_with(prefix) || entry.size() == prefix.size())
        return std::nullopt;
    int number = 0;
    const char* first = entry.data() + prefix.size();
    const char* last = entry.data() + entry.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || number < 0)
        return std::nullopt;
    return number;
}

std::optional<std::string> ReadName(const fs::path& file) {
    std::ifstream in(file);
    std::string name;
    if (!in || !std::getline(in, name))
        return std::nullopt;
    while (!name.empty() && (name.back() == '\r' || name.back() == ' '))
        name.pop_back();
    return name;
}

void CollectFrom(const fs::path& folder, std::map<int, std::string>& buses) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::optional<int> number = BusNumber(entry.path().filename().string());
        if (!number || buses.count(*number))
            continue;
        if (const std::optional<std::string> name = ReadName(entry.path() / "name"))
            buses[*number] = *name;
    }
}

} // namespace

std::vector<I2cBusEntry> ListSysfsI2cBuses(const std::string& sysRoot) {
    std::map<int, std::string> buses;
    CollectFrom(fs::path(sysRoot) / "class" / "i2c-dev", buses);
    CollectFrom(fs::path(sysRoot) / "bus" / "i2c" / "devices", buses);
    std::vector<I2cBusEntry> list;
    for (const auto& [number, name] : buses)
        list.push_back({number, name});
    return list;
}
