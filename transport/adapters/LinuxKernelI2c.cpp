#include "LinuxKernelI2c.h"

#include <linux/i2c-dev.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

std::vector<I2cBusEntry> LinuxKernelI2c::ListBuses() {
    return ListSysfsI2cBuses("/sys");
}

int LinuxKernelI2c::Open(const std::string& devicePath) {
    const int descriptor = ::open(devicePath.c_str(), O_RDWR | O_CLOEXEC);
    return descriptor < 0 ? -errno : descriptor;
}

int LinuxKernelI2c::Transfer(int descriptor, std::span<i2c_msg> messages) {
    i2c_rdwr_ioctl_data data{messages.data(), static_cast<__u32>(messages.size())};
    int done;
    do
        done = ::ioctl(descriptor, I2C_RDWR, &data);
    while (done < 0 && errno == EINTR);
    return done < 0 ? -errno : done;
}

void LinuxKernelI2c::Close(int descriptor) {
    ::close(descriptor);
}
