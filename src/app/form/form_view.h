#pragma once

#include "app/form/control.h"

#include <functional>
#include <string>

namespace treadkey {

// What the window's behaviour asks of the toolkit that draws it. A view builds its controls from the control
// table, forwards the user's clicks, edits, the timer's ticks, activation and close to the window, and draws
// what the window shows.
class FormView {
public:
    virtual ~FormView() = default;

    // Draws one property of a control anew.
    virtual void Show(const Control& control, ControlProperty changed) = 0;
    // Shows the window, centred on the screen.
    virtual void ShowWindow() = 0;
    // Closes the window as its close box does.
    virtual void CloseWindow() = 0;
    // Whether the window, or a box it raised, is the active window: the one that takes the keys.
    virtual bool IsActive() const = 0;

    // The result list: a line appended and selected, or every line removed.
    virtual void AddResultLine(const std::string& line) = 0;
    virtual void ClearResultLines() = 0;
    // The date and time now as a result line starts with it, in the user's locale.
    virtual std::string TimeStamp() = 0;

    virtual void StartTimer(int milliseconds) = 0;
    virtual void StopTimer() = 0;

    // Modal message boxes: one with an OK button, and one with OK and Cancel that is true for OK.
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
    virtual bool AskOkCancel(const std::string& text, const std::string& title) = 0;
    // Blocks the window's thread, as the pauses between frames do.
    virtual void Pause(int milliseconds) = 0;
    // Runs work once the handler running now has returned to the event loop.
    virtual void Post(std::function<void()> work) = 0;
};

} // namespace treadkey
