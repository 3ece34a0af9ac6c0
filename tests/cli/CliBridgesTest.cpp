// What the adapters command says about each bridge the kernel shows: found
// by its bus name, whether its node opens, and the registers too long for it.

#include "CliBridges.h"
#include "Configdataunit.h"
#include "FakeKernelI2c.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(CliBridges, EachBridgeWithItsAccessAndLimits) {
    FakeKernelI2c kernel;
    kernel.AddClassBus(0, "i915 gmbus dpb"); // not a bridge: left out
    kernel.AddClassBus(3, "CP2112 SMBus Bridge on hidraw0");
    kernel.AddClassBus(5, "CH341 I2C USB bus 001 device 004");
    kernel.AddClassBus(7, "CP2112 SMBus Bridge on hidraw1");
    kernel.openErrors["/dev/i2c-7"] = EACCES;
    TConfigDataUnit table;
    table.ReadMapText(
        "#15  0x0f 1  !r_soft_mute\n#65  0x41 32 !r_A_to_ipmix[1]\n#66  0x42 31 !r_A_to_ipmix[2]\n");

    const std::vector<TBridgeReport> reports = DescribeBridges(kernel, &table);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].Line(),
              "/dev/i2c-3 CP2112 \"CP2112 SMBus Bridge on hidraw0\": usable, up to 60 register "
              "bytes a write and 512 a read");
    // 32 data bytes and the sub-address do not fit one 32-byte message.
    EXPECT_EQ(reports[1].Line(),
              "/dev/i2c-5 CH341 \"CH341 I2C USB bus 001 device 004\": usable, up to 31 register "
              "bytes a write and 32 a read; 1 register too long for it: 0x41");
    EXPECT_FALSE(reports[2].opens);
    EXPECT_EQ(reports[2].Line(),
              "/dev/i2c-7 CP2112 \"CP2112 SMBus Bridge on hidraw1\": cannot be opened: "
              "Permission denied (the udev rule 70-qmx4600-i2c-bridges.rules gives users access)");
    // Only opened to see whether it can be, never written to or left open.
    EXPECT_TRUE(kernel.transfers.empty());
    EXPECT_EQ(kernel.OpenCount(), 0u);
}

TEST(CliBridges, NoBridgeNoReport) {
    FakeKernelI2c kernel;
    kernel.AddClassBus(0, "SMBus I801 adapter at efa0");
    EXPECT_TRUE(DescribeBridges(kernel, nullptr).empty());
}

} // namespace
