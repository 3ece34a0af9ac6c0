#pragma once

#include "KernelI2c.h"
#include "TestFolder.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

// The kernel as the bridge adapter sees it, for tests: buses come from a
// sysfs tree written into a test folder, device nodes open unless told
// otherwise, and every I2C_RDWR is recorded message by message.
class FakeKernelI2c : public IKernelI2c {
public:
    struct Message {
        uint16_t address;
        uint16_t flags;
        uint16_t length;
        std::vector<uint8_t> bytes; // what a write message carried
        bool operator==(const Message&) const = default;
    };

    // A bus as the i2c-dev class shows it (class/i2c-dev/i2c-N/name).
    void AddClassBus(int number, const std::string& name) {
        sys_.WriteFile("class/i2c-dev/i2c-" + std::to_string(number) + "/name", name + "\n");
    }
    // A bus as the i2c bus devices show it (bus/i2c/devices/i2c-N/name).
    void AddBusDevice(int number, const std::string& name) {
        sys_.WriteFile("bus/i2c/devices/i2c-" + std::to_string(number) + "/name", name + "\n");
    }
    void RemoveBuses() {
        std::filesystem::remove_all(sys_.Path("class"));
        std::filesystem::remove_all(sys_.Path("bus"));
    }
    std::string SysRoot() const { return sys_.Path(""); }

    std::vector<I2cBusEntry> ListBuses() override { return ListSysfsI2cBuses(SysRoot()); }

    int Open(const std::string& devicePath) override {
        opened.push_back(devicePath);
        if (const auto refusal = openErrors.find(devicePath); refusal != openErrors.end())
            return -refusal->second;
        const int descriptor = nextDescriptor_++;
        open_.insert(descriptor);
        return descriptor;
    }

    int Transfer(int descriptor, std::span<i2c_msg> messages) override {
        std::vector<Message>& recorded = transfers.emplace_back();
        for (const i2c_msg& message : messages) {
            const bool read = message.flags & I2C_M_RD;
            recorded.push_back({message.addr, message.flags, message.len,
                                read ? std::vector<uint8_t>()
                                     : std::vector<uint8_t>(message.buf, message.buf + message.len)});
            if (read)
                for (uint16_t i = 0; i < message.len; ++i)
                    message.buf[i] = i < readData.size() ? readData[i] : 0;
        }
        if (!open_.count(descriptor))
            return -EBADF;
        return transferResult.value_or(static_cast<int>(messages.size()));
    }

    void Close(int descriptor) override { open_.erase(descriptor); }

    // Descriptors opened and not closed again.
    size_t OpenCount() const { return open_.size(); }

    std::map<std::string, int> openErrors; // device node -> errno its open fails with
    std::optional<int> transferResult;     // what I2C_RDWR returns; all messages done when unset
    std::vector<uint8_t> readData;         // what a read message receives
    std::vector<std::string> opened;
    std::vector<std::vector<Message>> transfers;

private:
    TestFolder sys_;
    std::set<int> open_;
    int nextDescriptor_ = 100;
};
