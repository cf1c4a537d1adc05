#pragma once

#include "app/form/form_view.h"
#include "app/form/usb_form.h"
#include "app/pedal_keystroke_filter.h"
#include "app/ui_services.h"
#include "app/window_font.h"

#include <QWidget>
#include <string_view>
#include <vector>

class QTimer;

namespace treadkey {

// The window drawn with Qt Widgets: it builds its controls from the control table, forwards clicks, edits,
// ticks, activation and close to the window's behaviour, and draws what that shows. What only Qt can do
// stays here: which font draws Chinese, captions fitted to their room, the etched frames, the filter of the
// pedal's keystrokes.
class QtWindow : public QWidget, public FormView {
    Q_OBJECT

public:
    // The window's font is the first of fontFamilies that draws every Chinese caption.
    QtWindow(HidBackend& backend, UiServices& ui, const QStringList& fontFamilies = WindowFontFamilies());

    USB& Form() { return form_; }
    // The widget that draws a control, by the control's name; nothing for a name the table does not hold.
    template <typename Widget> Widget* Find(std::string_view name) const {
        const ControlSpec* spec = FindControl(name);
        return spec == nullptr ? nullptr : qobject_cast<Widget*>(widgets_[Index(*spec)]);
    }
    QTimer* Timer1 = nullptr;

    void Show(const Control& control, ControlProperty changed) override;
    void ShowWindow() override;
    void CloseWindow() override;
    bool IsActive() const override;
    void AddResultLine(const std::string& line) override;
    void ClearResultLines() override;
    std::string TimeStamp() override;
    void StartTimer(int milliseconds) override;
    void StopTimer() override;
    void ShowMessage(const std::string& text, const std::string& title) override;
    bool AskOkCancel(const std::string& text, const std::string& title) override;
    void Pause(int milliseconds) override;
    void Post(std::function<void()> work) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static std::size_t Index(const ControlSpec& spec);
    QWidget* MakeWidget(const ControlSpec& spec, QWidget* container);
    void ForwardEvents(Control& control, QWidget* widget);
    void SetTabOrder();

    UiServices& ui_;
    USB form_;
    PedalKeystrokeFilter keystrokes_;
    QStringList fontFamilies_;      // the one family that draws Chinese, else every family asked for
    std::vector<QWidget*> widgets_; // in the order of the control table
};

} // namespace treadkey
