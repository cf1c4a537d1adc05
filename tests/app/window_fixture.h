#pragma once

#include "app/fake_pedal_stack.h"
#include "app/qt_window.h"
#include "app/ui_services.h"
#include "diagnosis/fake_system.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace treadkey::testing {

// Message boxes answered at once and pauses that cost nothing, each one recorded; the system files are the
// test's own, and show no pedal until a test lays one out.
class RecordingUi : public UiServices {
public:
    void ShowMessage(const QString& text, const QString& title) override {
        messages.push_back(text);
        titles.push_back(title);
        if (onMessage) {
            onMessage();
        }
    }
    bool AskOkCancel(const QString& text, const QString& title) override {
        questions.push_back(text + " | " + title);
        if (onQuestion) {
            onQuestion();
        }
        return answerOk;
    }
    void Sleep(int milliseconds) override { pauses.push_back(milliseconds); }
    SystemRoot LookAtSystem() override { return system.system; }
    std::optional<std::filesystem::path> StateDirectory() override { return stateDirectory; }

    QStringList messages;
    QStringList titles;
    QStringList questions;
    std::vector<int> pauses;
    bool answerOk = true;
    FakeSystem system;
    std::optional<std::filesystem::path> stateDirectory; // none: the window keeps no record
    std::function<void()> onMessage;                     // runs while the message is up
    std::function<void()> onQuestion;                    // runs while the question is up
};

// Makes target the active window, as a click on it does.
inline void Activate(QWidget* target) {
    target->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(target));
}

// The Qt window after start-up over an in-process HID stack, its timer stopped so that each test ticks by
// hand.
class WindowTest : public ::testing::Test, protected FakePedalStack {
protected:
    void SetUp() override {
        window = std::make_unique<QtWindow>(backend, ui);
        form().Form_Load();
        window->Timer1->stop();
    }

    void Connect(int reportLength = 9) {
        PlugPedal(reportLength);
        form().Timer1_Timer();
    }
    USB& form() { return window->Form(); }
    // The widget that draws a control.
    template <typename Widget = QWidget> Widget* W(std::string_view name) const {
        Widget* widget = window->Find<Widget>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }
    QPushButton* Key(int index) { return W<QPushButton>(KeyButtonName(index)); }

    // The result list without its time stamps.
    QStringList LogTexts() const {
        QStringList texts;
        const auto* list = W<QListWidget>("lstResults");
        for (int row = 0; row < list->count(); ++row) {
            const QString line = list->item(row)->text();
            texts << line.mid(line.indexOf(QStringLiteral("]: ")) + 3);
        }
        return texts;
    }

    RecordingUi ui;
    std::unique_ptr<QtWindow> window;
};

} // namespace treadkey::testing
