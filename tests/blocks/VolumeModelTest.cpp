#include "DeviceRig.h"
#include "Volumeunit.h"

#include <gtest/gtest.h>

namespace {

class VolumeModel : public ::testing::Test {
protected:
    DeviceRig rig;
    TVolume volume{rig.table};
};

TEST_F(VolumeModel, ReadsTheLowTwelveBitsClampedToTheTrackBar) {
    struct Case {
        std::vector<uint8_t> stored;
        int step;
    };
    const Case cases[] = {
        {{0x00, 0x00, 0x00, 0x48}, 72},  {{0x00, 0x00, 0xF2, 0x45}, 581}, {{0xFF, 0xFF, 0xF1, 0x00}, 256},
        {{0x00, 0x00, 0x02, 0x44}, 580}, {{0x00, 0x00, 0x02, 0x46}, 581}, {{0x00, 0x00, 0x0F, 0xFF}, 581},
        {{0x12, 0x34, 0x50, 0x00}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WriteText(0xD2, c.stored));
        rig.Store(0xD2, c.stored);
        EXPECT_EQ(volume.GetVolumeStep(0xD2), c.step);
    }
}

TEST_F(VolumeModel, StoresTheStepAsAWordWithoutSendingIt) {
    struct Case {
        int step;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {0, {0x00, 0x00, 0x00, 0x00}},
        {72, {0x00, 0x00, 0x00, 0x48}},
        {581, {0x00, 0x00, 0x02, 0x45}},
        {TVolume::MuteValue, {0x00, 0x00, 0x02, 0x46}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        volume.SetVolumeStep(0xD7, c.step);
        EXPECT_EQ(rig.table.GetData(0xD7), c.bytes);
        EXPECT_EQ(rig.table.GetData(0xD8), (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x48}));
    }
    EXPECT_TRUE(rig.TakeWrites().empty());
}

TEST(VolumeText, IsTheGainInShortestFormOrMute) {
    struct Case {
        int step;
        const char* text;
    };
    const Case cases[] = {{0, "18"},  {1, "17.75"},  {71, "0.25"},  {72, "0"},    {73, "-0.25"},
                          {80, "-2"}, {580, "-127"}, {581, "MUTE"}, {582, "MUTE"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        EXPECT_EQ(TVolume::VolumeText(c.step), c.text);
    }
    EXPECT_EQ(TVolume::MuteStep(), 581);
}

TEST_F(VolumeModel, ChannelMuteSetsAndClearsOnlyItsOwnBit) {
    struct Case {
        int channel;
        uint8_t before;
        bool muted;
        const char* written;
    };
    // 0x3C stands for the bits of channels this tool does not control.
    const Case cases[] = {
        {1, 0x3C, true, "0f: 3d"},  {2, 0x3C, true, "0f: 3e"},  {3, 0x3C, true, "0f: 7c"},
        {4, 0x3C, true, "0f: bc"},  {1, 0xFF, false, "0f: fe"}, {2, 0xFF, false, "0f: fd"},
        {3, 0xFF, false, "0f: bf"}, {4, 0xFF, false, "0f: 7f"}, {3, 0x40, true, "0f: 40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "channel " << c.channel << " muted " << c.muted);
        rig.Store(0x0F, {c.before});
        volume.ApplyChannelMute(c.channel, c.muted);
        EXPECT_EQ(rig.TakeWrites(), std::vector<std::string>{c.written});
    }
}

TEST_F(VolumeModel, ChannelOutsideOneToFourChangesNothing) {
    for (int channel : {0, 5, -1}) {
        SCOPED_TRACE(channel);
        rig.Store(0x0F, {0x12});
        volume.ApplyChannelMute(channel, true);
        EXPECT_EQ(rig.table.GetData(0x0F), std::vector<uint8_t>{0x12});
        EXPECT_TRUE(rig.TakeWrites().empty());
    }
}

TEST_F(VolumeModel, MuteStatesDecodeBitsZeroOneSixSeven) {
    struct Case {
        uint8_t stored;
        std::array<bool, 4> channel;
        bool master;
    };
    const Case cases[] = {
        {0x00, {false, false, false, false}, false}, {0x03, {true, true, false, false}, false},
        {0x3C, {false, false, false, false}, false}, {0x40, {false, false, true, false}, false},
        {0x80, {false, false, false, true}, false},  {0xC2, {false, true, true, true}, false},
        {0xC3, {true, true, true, true}, true},      {0xFF, {true, true, true, true}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stored));
        rig.Store(0x0F, {c.stored});
        const TVolume::MuteStates states = volume.GetMuteStates();
        EXPECT_EQ(states.channel, c.channel);
        EXPECT_EQ(states.master, c.master);
    }
}

TEST(VolumeModelWithoutMap, MissingRegistersReadAsZeroAndStoreNothing) {
    TConfigDataUnit empty;
    TVolume volume(empty);
    EXPECT_EQ(volume.GetVolumeStep(0xD9), 0);
    volume.SetVolumeStep(0xD9, 72);
    volume.ApplyChannelMute(1, true);
    EXPECT_TRUE(empty.GetData(0xD9).empty());
    EXPECT_FALSE(volume.GetMuteStates().master);
}

} // namespace
