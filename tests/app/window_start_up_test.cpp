#include "window_fixture.h"

#include <QFontInfo>

namespace treadkey::testing {
namespace {

using StartUp = WindowTest;

TEST_F(StartUp, WindowIsFixedTitledAndCentred) {
    EXPECT_EQ(window->windowTitle(), "USB Treadkey KeyMouse Setup V2.4");
    EXPECT_EQ(window->size(), QSize(1066, 673));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Timer1->interval(), 350);
}

TEST_F(StartUp, AutoSizedLabelsTakeTheWidthOfTheNewCaption) {
    const int chineseWidth = W<QLabel>("Label7")->width();
    Click(W<QPushButton>("Command3"));
    EXPECT_GT(W<QLabel>("Label7")->width(), chineseWidth);
    EXPECT_EQ(W<QLabel>("Label7")->width(), W<QLabel>("Label7")->sizeHint().width());
}

TEST_F(StartUp, KeyButtonsCarryTheirCaptionsNamesAndPlaces) {
    const struct {
        int index;
        const char* caption;
        QRect pixels;
        const QWidget* container;
    } cases[] = {
        {50, "A", {96, 136, 33, 33}, W<QGroupBox>("Frame1")},
        {76, " ", {208, 216, 169, 33}, W<QGroupBox>("Frame1")},
        {81, "Num  Lock", {848, 16, 41, 41}, W<QGroupBox>("Frame1")},
        {27, "\\", {568, 96, 33, 33}, W<QGroupBox>("Frame1")},
        {21, "numlock", {992, 104, 57, 33}, window.get()},
        {79, "enter", {944, 104, 41, 33}, window.get()},
    };
    for (const auto& c : cases) {
        QPushButton* key = Key(c.index);
        EXPECT_EQ(key->objectName(), QStringLiteral("Command_key_%1").arg(c.index));
        EXPECT_EQ(key->text(), QString::fromUtf8(c.caption)) << c.index;
        EXPECT_EQ(key->geometry(), c.pixels) << c.index;
        EXPECT_EQ(key->parentWidget(), c.container) << c.index;
    }
    EXPECT_EQ(window->findChild<QPushButton*>("Command_key_50"), Key(50));
}

TEST_F(StartUp, ControlsSitWhereTheDesignPutsThem) {
    EXPECT_EQ(W<QLabel>("Label3")->pos(), QPoint(8, 8));
    EXPECT_EQ(W<QComboBox>("Combo1")->geometry(), QRect(104, 64, 57, 22));
    EXPECT_EQ(W<QGroupBox>("Frame1")->geometry(), QRect(8, 144, 1049, 257));
    EXPECT_EQ(W<QListWidget>("lstResults")->geometry(), QRect(144, 408, 913, 256));
    EXPECT_EQ(W<QPushButton>("Command_L_btn")->geometry(), QRect(8, 16, 57, 41));
    EXPECT_EQ(W<QPushButton>("Command_L_btn")->parentWidget(), W<QGroupBox>("Frame_mouse_btn"));
    EXPECT_EQ(W<QPushButton>("Command_ctrl_r")->geometry(), QRect(552, 216, 49, 33));
    EXPECT_EQ(W<QRadioButton>("Option2")->parentWidget(), W<QGroupBox>("Frame4"));
    EXPECT_EQ(W<QLineEdit>("TextIW")->parentWidget(), W<QGroupBox>("Frame2"));
}

TEST_F(StartUp, FontsAreOneInstalledFamilyOfTheWindowsListThatDrawsChinese) {
    const QFont font = window->font();
    ASSERT_EQ(font.families().size(), 1);
    const QString family = font.families().first();
    EXPECT_TRUE(WindowFontFamilies().contains(family)) << family.toStdString();
    EXPECT_EQ(QFontInfo(font).family(), family); // installed, not a stand-in the desktop picked
    EXPECT_EQ(form().IsChinese, 1);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 10.5);
    EXPECT_DOUBLE_EQ(W<QLabel>("Label3")->font().pointSizeF(), 14.25);
    EXPECT_TRUE(W<QLabel>("Label1")->font().bold());
    EXPECT_EQ(W<QLabel>("Label1")->font().families(), (QStringList{"NSimSun", family}));
    EXPECT_DOUBLE_EQ(W<QPushButton>("contion")->font().pointSizeF(), 12);
    EXPECT_EQ(Key(50)->font(), font);
}

TEST_F(StartUp, ResultListAppendsSelectsAndClears) {
    form().AddResultLine("one");
    form().AddResultLine("");
    ASSERT_EQ(W<QListWidget>("lstResults")->count(), 2);
    EXPECT_EQ(W<QListWidget>("lstResults")->currentRow(), 1);
    EXPECT_TRUE(W<QListWidget>("lstResults")->item(1)->text().endsWith("]: "));
    Click(W<QPushButton>("Clear"));
    EXPECT_EQ(W<QListWidget>("lstResults")->count(), 0);
    form().AddResultLine("CloseHandle (HIDHandle)");
    EXPECT_EQ(W<QListWidget>("lstResults")->count(), 1);
    EXPECT_EQ(W<QListWidget>("lstResults")->currentRow(), 0);
    EXPECT_EQ(LogTexts(), QStringList{"CloseHandle (HIDHandle)"});
}

} // namespace
} // namespace treadkey::testing
