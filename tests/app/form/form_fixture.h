#pragma once

#include "app/fake_pedal_stack.h"
#include "app/form/form_view.h"
#include "app/form/usb_form.h"
#include "fixtures/scratch_directory.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace treadkey::testing {

using Lines = std::vector<std::string>;

// A view that draws nothing and keeps what it was asked: the result list, the boxes (answered at once), the
// pauses (that cost nothing), the timer, and the work posted for the event loop, which runs when the test
// says.
class FakeView : public FormView {
public:
    void Show(const Control& control, ControlProperty changed) override {
        shown.emplace_back(control.spec.name, changed);
    }
    void ShowWindow() override { visible = true; }
    void CloseWindow() override {
        ++closesAsked;
        if (onClose) {
            onClose();
        }
    }
    bool IsActive() const override { return active; }
    void AddResultLine(const std::string& line) override { lines.push_back(line); }
    void ClearResultLines() override { lines.clear(); }
    std::string TimeStamp() override { return stamp; }
    void StartTimer(int milliseconds) override { timerInterval = milliseconds; }
    void StopTimer() override { timerInterval = 0; }
    void ShowMessage(const std::string& text, const std::string& title) override {
        messages.push_back(text);
        titles.push_back(title);
        if (onMessage) {
            onMessage();
        }
    }
    bool AskOkCancel(const std::string& text, const std::string& title) override {
        questions.push_back(text + " | " + title);
        if (onQuestion) {
            onQuestion();
        }
        return answerOk;
    }
    void Pause(int milliseconds) override { pauses.push_back(milliseconds); }
    void Post(std::function<void()> work) override { posted.push_back(std::move(work)); }

    // What the event loop does once the handler has returned: the posted work, in order, including work
    // posted meanwhile.
    void RunPosted() {
        while (!posted.empty()) {
            std::function<void()> work = std::move(posted.front());
            posted.pop_front();
            work();
        }
    }

    std::vector<std::pair<std::string, ControlProperty>> shown;
    Lines lines;
    std::string stamp = "2019/7/12 14:03:05";
    Lines messages;
    Lines titles;
    Lines questions;
    std::vector<int> pauses;
    bool answerOk = true;
    bool visible = false;
    bool active = false;   // as an offscreen window that was never activated
    int timerInterval = 0; // 0 while stopped
    int closesAsked = 0;
    std::deque<std::function<void()>> posted;
    std::function<void()> onMessage;  // runs while the message is up
    std::function<void()> onQuestion; // runs while the question is up
    std::function<void()> onClose;    // what the toolkit's close does
};

// The window after start-up over an in-process HID stack and a fake view; nothing ticks unless a test ticks.
class FormTest : public ::testing::Test, protected FakePedalStack {
protected:
    void SetUp() override {
        view.onClose = [this] {
            if (window->CloseRequested()) {
                view.visible = false;
            }
        };
        Open();
    }
    // A new window, after start-up.
    void Open() {
        window = std::make_unique<USB>(
            backend, view,
            WindowServices{[this] { return lookAtSystem(); }, [this] { return stateDirectory; }});
        window->Form_Load();
    }

    void Connect(int reportLength = 9) {
        PlugPedal(reportLength);
        window->Timer1_Timer();
    }
    // A click of the user's; what it posts runs at view.RunPosted(), as the event loop would run it next.
    void Click(Control* control) { window->Click(*control); }
    // The user's text in a box, as typed or pasted.
    void Type(Control* box, const std::string& text) { window->TextEdited(*box, text); }
    // The user sets a check box: a click when it is not as wanted.
    void Check(Control* box, bool checked) {
        if (box->value != checked) {
            Click(box);
        }
    }
    Control* Key(int index) { return window->Command_key[static_cast<std::size_t>(index)]; }
    // The user closes the window; true when it closed.
    bool Close() {
        const bool closed = window->CloseRequested();
        view.visible = view.visible && !closed;
        return closed;
    }

    // The result list without its time stamps.
    Lines LogTexts() const {
        Lines texts;
        for (const std::string& line : view.lines) {
            texts.push_back(line.substr(line.find("]: ") + 3));
        }
        return texts;
    }

    ScratchDirectory systemFiles;
    // No system files: no pedal until a test lays one out.
    std::function<SystemRoot()> lookAtSystem = [this] {
        SystemRoot empty;
        empty.root = systemFiles / "root";
        return empty;
    };
    std::optional<std::filesystem::path> stateDirectory; // none: the window keeps no record
    FakeView view;
    std::unique_ptr<USB> window;
};

} // namespace treadkey::testing
