#include <gtest/gtest.h>

#include <string>

#include "ui/TrayBalloonText.h"

namespace {

TEST(TrayBalloonText, TipAndTitleCarryTheProductWord) {
    EXPECT_EQ(TrayTipText(), u"Marlo  20260827.3");
    EXPECT_EQ(TrayBalloonTitle(), u"Marlo");
}

TEST(TrayBalloonText, FieldsKeepRoomForTheTerminatingZero) {
    const std::u16string longText(300, u'x');
    EXPECT_EQ(FitTrayField(longText, kTrayBalloonTextCapacity).size(), 255u);
    EXPECT_EQ(FitTrayField(longText, kTrayBalloonTitleCapacity).size(), 63u);
    EXPECT_EQ(FitTrayField(longText, kTrayTipCapacity).size(), 127u);
    EXPECT_EQ(FitTrayField(u"short", kTrayBalloonTitleCapacity), u"short");
    EXPECT_EQ(FitTrayField(u"", kTrayBalloonTextCapacity), u"");
    EXPECT_EQ(FitTrayField(u"abc", 0), u"");
}

TEST(TrayBalloonText, CutNeverSplitsASurrogatePair) {
    // 254 letters, then U+1F600 as a pair: the pair would end at unit 256, one past the room.
    std::u16string text(254, u'a');
    text += u"\U0001F600";
    const std::u16string_view fitted = FitTrayField(text, kTrayBalloonTextCapacity);
    EXPECT_EQ(fitted.size(), 254u);
    EXPECT_EQ(fitted.back(), u'a');
}

TEST(TrayBalloonText, TimeoutIsAtLeastOneSecond) {
    EXPECT_EQ(TrayBalloonTimeoutMs(0), 1000u);
    EXPECT_EQ(TrayBalloonTimeoutMs(999), 1000u);
    EXPECT_EQ(TrayBalloonTimeoutMs(1000), 1000u);
    EXPECT_EQ(TrayBalloonTimeoutMs(3000), 3000u);
}

} // namespace
