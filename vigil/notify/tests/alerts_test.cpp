#include "vigil/notify/alerts.h"

#include "vigil/notify/tests/reporting_fakes.h"

#include <gtest/gtest.h>

namespace vigil::notify {
namespace {

struct AlertsFixture : ::testing::Test {
    forms::Windows w;
    fakes::Sounds sounds;
    Alerts alerts{w, sounds};

    void SetUp() override {
        w.form1.SoundToPlay1.SetText("one.wav");
        w.form1.SoundToPlay2.SetText("two.wav");
        w.form1.SoundToPlay3.SetText("three.wav");
        w.form1.noConSound.SetText("nocon.wav");
    }
};

TEST_F(AlertsFixture, TheNumberOfFailedSitesPicksOneSound) {
    struct Case {
        int failures;
        std::vector<std::string> played;
    } cases[] = {{0, {}},
                 {-1, {}},
                 {1, {"one.wav"}},
                 {2, {"two.wav"}},
                 {3, {"three.wav"}},
                 {4, {"three.wav"}},
                 {100, {"three.wav"}}};
    for (const Case& c : cases) {
        sounds.played.clear();
        alerts.PlaySiteFailureSound(c.failures);
        EXPECT_EQ(sounds.played, c.played) << c.failures;
    }
}

TEST_F(AlertsFixture, EachSoundReadsItsFieldWhenItPlays) {
    alerts.PlayNoConnectionSound();
    w.form1.SoundToPlay2.SetText("");
    alerts.PlaySound2();
    alerts.PlaySound1();
    alerts.PlaySound3();
    EXPECT_EQ(sounds.played, (std::vector<std::string>{"nocon.wav", "", "one.wav", "three.wav"}));
}

TEST_F(AlertsFixture, ASecondAlertReplacesTheTextAndOkOnlyHides) {
    EXPECT_EQ(w.alertWindow.message.Caption(), "Vigil Error");
    alerts.ShowAlert(kNoWebConnection);
    EXPECT_TRUE(w.alertWindow.Visible());
    alerts.ShowAlert(kWebConnectionFailure);
    EXPECT_TRUE(w.alertWindow.Visible());
    EXPECT_EQ(w.alertWindow.message.Caption(),
              "Web connection failure\r\ncheck modem and/or connection");
    w.alertWindow.Command1.Click();
    EXPECT_FALSE(w.alertWindow.Visible());
    EXPECT_EQ(w.alertWindow.message.Caption(), kWebConnectionFailure);
}

} // namespace
} // namespace vigil::notify
