#pragma once

#include "diagnosis/system_root.h"

#include <QString>
#include <filesystem>
#include <optional>

namespace treadkey {

// What the window asks of the desktop besides drawing: modal message boxes, a blocking pause and the system
// files. Tests put their own in its place, so that no dialog waits for a click, no pause costs time and the
// system is one they lay out.
class UiServices {
public:
    virtual ~UiServices() = default;
    // A message with an OK button only.
    virtual void ShowMessage(const QString& text, const QString& title) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool AskOkCancel(const QString& text, const QString& title) = 0;
    virtual void Sleep(int milliseconds) = 0;
    // The system files that tell why the pedal does not open.
    virtual SystemRoot LookAtSystem() { return RunningSystem(); }
    // Where the record of what each pedal holds is kept; nothing keeps no record.
    virtual std::optional<std::filesystem::path> StateDirectory() { return std::nullopt; }
};

// The real ones: Qt message boxes over the window, and a pause of the calling thread.
class QtUiServices : public UiServices {
public:
    void ShowMessage(const QString& text, const QString& title) override;
    bool AskOkCancel(const QString& text, const QString& title) override;
    void Sleep(int milliseconds) override;
    std::optional<std::filesystem::path> StateDirectory() override;
};

} // namespace treadkey
