// The checked-in fixtures (tests/data/media, made by the ffmpeg tool): files written by another
// encoder than our test writers.
#include "platform/media/MciDevice.h"

#include <gtest/gtest.h>

namespace {
QString fixture(const char *name)
{
    const QString data = qEnvironmentVariable("LUMA_TEST_DATA", QStringLiteral(LUMA_SOURCE_DATA));
    return data + "/media/" + name;
}
} // namespace

TEST(MediaFixtures, LengthsAsTheDevicesReportThem)
{
    const std::vector<std::pair<const char *, int64_t>> cases = {
        {"sine440_250ms_u8.wav", 250}, {"sine440_250ms_ima.wav", 255}, {"c4_one_beat.mid", 500},
        {"raw8_silent.avi", 1000},     {"mpeg4_sound.avi", 1000},
    };
    for (const auto &[name, length] : cases) {
        platform::MciDevice dev;
        const platform::MciResult r = dev.open(fixture(name));
        ASSERT_TRUE(r.ok()) << name << ": " << r.english.toStdString();
        EXPECT_EQ(dev.lengthMs(), length) << name;
    }
}
