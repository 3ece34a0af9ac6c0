#include "Dataclocksunit.h"
#include "DeviceRig.h"

#include <gtest/gtest.h>

namespace {

class DataClocksModel : public ::testing::Test {
protected:
    DeviceRig rig;
    TDataClocks clocks{rig.table, rig.bus};
};

TEST_F(DataClocksModel, DecodesTheStoredClockRegister) {
    struct Case {
        uint8_t stored;
        int hertz;
        const char* mclk;
        bool highRate;
    };
    const Case cases[] = {
        {0xD8, 176400, "768 * fs", true}, {0x7C, 48000, "256 * fs", false}, {0x00, 32000, "64 * fs", false},
        {0x27, 38000, "128 * fs", false}, {0x48, 44100, "192 * fs", false}, {0x90, 88200, "384 * fs", false},
        {0xB7, 96000, "512 * fs", false}, {0xE3, 192000, "64 * fs", true},  {0x0C, 32000, "256 * fs", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stored));
        rig.Store(0x00, {c.stored});
        EXPECT_EQ(clocks.GetSampleRate(), c.hertz);
        EXPECT_EQ(clocks.IsHighRate(), c.highRate);
        EXPECT_EQ(clocks.GetMclkText(), c.mclk);
    }
    EXPECT_TRUE(rig.TakeReads().empty());
}

TEST_F(DataClocksModel, RateTextOfEveryCode) {
    rig.BreakBus();
    const char* texts[] = {"32k", "38k", "44.1k", "48k", "88.2k", "96k", "176.4k", "192k"};
    for (int code = 0; code < 8; ++code) {
        SCOPED_TRACE(code);
        rig.Store(0x00, {static_cast<uint8_t>(code << 5 | 0x1F)});
        EXPECT_EQ(clocks.GetRateText(), texts[code]);
        EXPECT_EQ(clocks.IsHighRate(), code >= 6);
    }
}

TEST_F(DataClocksModel, HighRateIsOffUntilTheFirstDecode) {
    rig.Store(0x00, {0xE0});
    EXPECT_FALSE(clocks.IsHighRate());
    clocks.GetMclkText();
    EXPECT_FALSE(clocks.IsHighRate());
}

TEST(DataClocksRateText, ReadsTheDeviceOnlyWhileTransfersArePossible) {
    enum Link { Working, Failed, Unplugged };
    struct Case {
        Link link;
        std::vector<int> reads;
        const char* text;
        bool highRate;
    };
    // The device runs at 176.4 kHz, the table still says 48 kHz. A read
    // tried without an adapter would report the missing adapter again.
    const Case cases[] = {
        {Working, {0x00}, "176.4k", true},
        {Failed, {}, "48k", false},
        {Unplugged, {}, "48k", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        DeviceRig rig;
        TDataClocks clocks(rig.table, rig.bus);
        if (c.link == Failed)
            rig.BreakBus();
        if (c.link == Unplugged)
            rig.Unplug();
        rig.device->SetSampleRate(176400);
        rig.device->SetMclkRatio(768);
        rig.Store(0x00, {0x6E});

        EXPECT_EQ(clocks.GetRateText(), c.text);
        EXPECT_EQ(clocks.IsHighRate(), c.highRate);
        EXPECT_EQ(rig.TakeReads(), c.reads);
        EXPECT_EQ(rig.ui.statuses, std::vector<std::string>{});
    }
}

TEST_F(DataClocksModel, ReadBackKeepsTheDevicesLowBits) {
    rig.device->SetSampleRate(192000);
    rig.device->SetMclkRatio(128);
    rig.device->SetRegister(0x00, std::vector<uint8_t>{0x02});
    EXPECT_EQ(clocks.GetRateText(), "192k");
    EXPECT_EQ(clocks.GetMclkText(), "128 * fs");
    EXPECT_EQ(rig.table.GetData(0x00), std::vector<uint8_t>{0xE6});
}

TEST(SerialFormat, ItemTextsAndLabels) {
    struct Case {
        int item;
        const char* text;
        const char* type;
        const char* bits;
    };
    const Case cases[] = {
        {0, "Right Justified 16 bits  (data=0x00)", "RJ", "16"},
        {1, "Right Justified 20 bits  (data=0x01)", "RJ", "20"},
        {2, "Right Justified 24 bits  (data=0x02)", "RJ", "24"},
        {3, "I2S 16 bits  (data=0x03)", "I2S", "16"},
        {4, "I2S 20 bits  (data=0x04)", "I2S", "20"},
        {5, "I2S 24 bits  (data=0x05)", "I2S", "24"},
        {6, "Left Justified 16 bits  (data=0x06)", "LJ", "16"},
        {7, "Left Justified 20 bits  (data=0x07)", "LJ", "20"},
        {8, "Left Justified 24 bits  (data=0x08)", "LJ", "24"},
        {-1, "I2S 24 bits  (data=0x05)", "I2S", "24"},
        {9, "I2S 24 bits  (data=0x05)", "I2S", "24"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        EXPECT_EQ(TDataClocks::FormatItemText(c.item), c.text);
        EXPECT_EQ(TDataClocks::GetFormatType(c.item), c.type);
        EXPECT_EQ(TDataClocks::GetFormatBits(c.item), c.bits);
    }
}

TEST_F(DataClocksModel, SerialFormatStoresTheItemsCodeWithoutSendingIt) {
    struct Case {
        int item;
        uint8_t code;
    };
    const Case cases[] = {{0, 0x00}, {1, 0x01}, {7, 0x07}, {8, 0x08}, {9, 0x05}, {-1, 0x05}, {200, 0x05}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        clocks.SetSerialFormat(c.item);
        EXPECT_EQ(rig.table.GetData(0x0E), std::vector<uint8_t>{c.code});
    }
    EXPECT_TRUE(rig.TakeWrites().empty());
}

TEST_F(DataClocksModel, StoredFormatCodeOutsideTheTableReadsAsItemFive) {
    struct Case {
        uint8_t stored;
        int item;
    };
    const Case cases[] = {{0x00, 0}, {0x03, 3}, {0x08, 8}, {0x09, 5}, {0x10, 5}, {0xFF, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stored));
        rig.Store(0x0E, {c.stored});
        EXPECT_EQ(clocks.GetSerialFormat(), c.item);
    }
}

TEST_F(DataClocksModel, ClockCodesKeepTheTwoLowBits) {
    struct Case {
        uint8_t before;
        int rate, mclk;
        uint8_t after;
    };
    const Case cases[] = {
        {0x03, 7, 0, 0xE3}, {0x6C, 2, 5, 0x54}, {0xFD, 0, 0, 0x01}, {0x00, 6, 6, 0xD8}, {0x02, 3, 7, 0x7E},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << "," << c.mclk);
        rig.Store(0x00, {c.before});
        clocks.SetClockCodes(c.rate, c.mclk);
        EXPECT_EQ(rig.table.GetData(0x00), std::vector<uint8_t>{c.after});
    }
    EXPECT_TRUE(rig.TakeWrites().empty());
}

TEST(DataClocksWithoutMap, MissingRegistersDecodeAsCodeZero) {
    TConfigDataUnit empty;
    DeviceRig rig;
    TDataClocks clocks(empty, rig.bus);
    EXPECT_EQ(clocks.GetRateText(), "32k");
    EXPECT_EQ(clocks.GetMclkText(), "64 * fs");
    EXPECT_EQ(clocks.GetSerialFormat(), 0);
    clocks.SetClockCodes(7, 6);
    EXPECT_TRUE(empty.GetData(0x00).empty());
}

} // namespace
