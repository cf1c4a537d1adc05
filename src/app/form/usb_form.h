#pragma once

#include "app/form/appended_lines.h"
#include "app/form/control.h"
#include "app/form/form_view.h"
#include "app/form/modal_gate.h"
#include "diagnosis/diagnosis.h"
#include "editor/frame_sequences.h"
#include "editor/key_table.h"
#include "pedal/device_link.h"
#include "pedal/pedal_hold.h"
#include "pedal/pedal_watch.h"
#include "record/action_reports.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace treadkey {

// What the window reaches besides its view and the pedal: the system files that tell why the pedal does not
// open, and where the record of what each pedal holds is kept (nothing keeps no record).
struct WindowServices {
    std::function<SystemRoot()> lookAtSystem = RunningSystem;
    std::function<std::optional<std::filesystem::path>()> stateDirectory = [] {
        return std::optional<std::filesystem::path>();
    };
};

// The program's one window, whatever draws it: every control's properties, every piece of state and every
// handler. Controls, handlers and state keep the names the rest of the program and its tests know them by.
// A view draws it and forwards the user's events to Click, TextEdited, Timer1_Timer, ActivationChanged and
// CloseRequested.
class USB {
public:
    USB(HidBackend& backend, FormView& view, WindowServices services = {});
    USB(const USB&) = delete;
    USB& operator=(const USB&) = delete;

    // Why the window starts in English: no font draws the Chinese captions. Told before Form_Load.
    void StartInEnglish(const std::string& noChineseFontNote);

    // Start-up: show, switch to Chinese (to English when no font draws Chinese), fill the key table, disable
    // the writing controls, start the timer.
    void Form_Load();

    // Events from the view. A click of a check box turns it over and one of an option button selects it, as
    // the toolkit's own click does, before the handler runs.
    void Click(Control& control);
    // The user changed the text of a box.
    void TextEdited(Control& control, const std::string& text);
    void ActivationChanged();
    // The user or the system asks the window to close: true when it may, after its unload ran; false while a
    // message box is open, when the close comes once the box is gone.
    bool CloseRequested();
    // Whether a keystroke that comes now may be one the pedal typed: its input is not held, and it holds a
    // key or button down or has just sent a report.
    bool PedalIsTyping();

    // Device link.
    // Connects to this pedal alone (its identity, from --pedal); without it, to the first pedal present.
    void ChoosePedal(const std::string& pedal);
    void Timer1_Timer();
    void contion_Click();
    bool FindTheHid();
    void CloseDeviceHandles();
    // Sends the command box as one report; true when the device took it.
    bool SendCommandText();
    void AddResultLine(const std::string& text);
    void Clear_Click();

    // Commands.
    void TextIW_Change();
    void Iwrite_Click();
    void Option1_Click();
    void Option2_Click();
    void Command_auto_run_Click();
    void Command2_Click();
    void Text_delay_Change();
    void Command1_Click();
    void Command_key_Click(int Index);
    void ComposeKeyCommand();
    void ComposeMouseCommand();

    // Language and enabling.
    void Command3_Click();
    void EnableWriteButtons();
    void DisableWriteButtons();

    DeviceLink& Link() { return link_; }
    const PedalHold& Hold() const { return hold_; }
    // Every control, in the order of the control table.
    std::deque<Control>& Controls() { return controls_; }
    // A control by name; nothing for a name the window does not have.
    Control* FindControl(std::string_view name);

    // Ways in for tests that drive the window from outside: each result line also appended to a file, and at
    // each tick a click of each control named by a line appended to another, shown or not.
    void CopyResultLinesTo(const std::filesystem::path& file);
    void TakeClicksFrom(const std::filesystem::path& file);

    std::uint8_t IsChinese = 0;
    KeyCodeTable KeyCodes;
    double CurrentCode = 0;
    std::uint8_t ModifierByte = 0;
    std::string VendorIDText;
    std::string ProductIDText;

private:
    static std::deque<Control> MakeControls();
    Control& Named(std::string_view name);
    // Made first: the named controls below point into it.
    std::deque<Control> controls_ = MakeControls();

public:
    Control* Label3 = &Named("Label3");
    Control* Label9 = &Named("Label9");
    Control* Label_key_no = &Named("Label_key_no");
    Control* Combo1 = &Named("Combo1");
    Control* Label_delay = &Named("Label_delay");
    Control* Text_delay = &Named("Text_delay");
    Control* Label8 = &Named("Label8");
    Control* Check_once = &Named("Check_once");
    Control* Frame_mouse_btn = &Named("Frame_mouse_btn");
    Control* Command_L_btn = &Named("Command_L_btn");
    Control* Command_M_btn = &Named("Command_M_btn");
    Control* Command_R_btn = &Named("Command_R_btn");
    Control* Command3 = &Named("Command3");
    Control* Label7 = &Named("Label7");
    Control* Frame1 = &Named("Frame1");
    Control* Label_Status = &Named("Label_Status");
    Control* Clear = &Named("Clear");
    Control* lstResults = &Named("lstResults");
    std::array<Control*, kKeyButtonCount> Command_key;
    Control* Command_shift = &Named("Command_shift");
    Control* Command_shift_r = &Named("Command_shift_r");
    Control* Command_ctrl = &Named("Command_ctrl");
    Control* Command_alt = &Named("Command_alt");
    Control* Command_win = &Named("Command_win");
    Control* Command_alt_r = &Named("Command_alt_r");
    Control* Command_win_r = &Named("Command_win_r");
    Control* Command_ctrl_r = &Named("Command_ctrl_r");
    // Made hidden and never shown.
    Control* Frame4 = &Named("Frame4");
    Control* Option2 = &Named("Option2");
    Control* Option1 = &Named("Option1");
    Control* Command_auto_run = &Named("Command_auto_run");
    Control* Command2 = &Named("Command2");
    Control* Command1 = &Named("Command1");
    Control* Frame2 = &Named("Frame2");
    Control* TextIW = &Named("TextIW");
    Control* Iwrite = &Named("Iwrite");
    Control* contion = &Named("contion");
    Control* TextVID = &Named("TextVID");
    Control* TextPID = &Named("TextPID");
    Control* Label1 = &Named("Label1");
    Control* Label2 = &Named("Label2");

private:
    // The delay box as sent (rounded half to even), and its log line: none unless the box reads above 0.
    struct DelaySetting {
        double value;
        std::string logLine;
    };

    // Property changes, each drawn by the view; a box's text also runs its change handler, as the toolkit's
    // change event does, when the text differs.
    void SetText(Control& control, const std::string& text);
    void SetEnabled(Control& control, bool enabled);
    void SetValue(Control& control, bool value);
    void SetBackColor(Control& control, std::uint32_t color);
    void SetToolTip(Control& control, const std::string& toolTip);

    void ConnectHandlers();
    void Form_Unload();
    void FillKeyTable();
    void SetWriteButtonsEnabled(bool enabled);
    void ToggleModifier(Control& toggle);
    void MouseButton_Click(std::size_t buttonIndex);
    void SendPlaybackWord(bool autoRunOn, bool loopPlayback);
    DelaySetting ReadDelay() const;
    // Puts each frame into the command box and sends it, after its pause; true when every one was written.
    bool SendFrames(const FrameSequence& frames);
    void ShowDiscoveryReason();
    // Logs each press the pedal's keyboard and mouse interfaces sent since the last tick.
    void WatchPedal();
    // Says on stderr, once, that the system hands the pedal's input over mixed with other devices', as a
    // refused read-only open of its keyboard or mouse tells.
    void NoteMixedInput(const std::vector<OpenResult>& refused);
    // Holds the pedal's keyboard and mouse while the window takes the keys, and lets go of them otherwise.
    void FollowActivation();
    // Ends the action just sent and records it with the others that wait.
    void RecordAction();
    // Records the actions that wait in their pedals' records, those whose record is not locked by another
    // program; the others wait for a later tick.
    void RecordWaitingActions();
    // The slot box's tooltip: what the record says the slot in the box holds.
    void ShowSlotRecord();
    // The record of the pedal the window writes to; nothing without one.
    std::optional<PedalRecord> ChosenPedalRecord();
    // Tells what reading or storing a record met, on stderr and in the status tooltip.
    void SayRecordTrouble(const LoadedRecord& loaded);
    // The status tooltip: the font note, the discovery, the hold and trouble with the record.
    void ShowStatusTooltip();

    DeviceLink link_;
    PedalWatch watch_;
    PedalHold hold_;
    FormView& view_;
    WindowServices services_;
    ModalGate boxes_;
    ActionReports actionReports_; // of the action being sent, and those whose record waits for its lock
    std::string recordSetAside_;  // the last record set aside as unreadable
    std::string recordProblem_;   // why the last record read or stored could not be; empty when it could
    bool filteringCommandText_ = false;
    std::string noChineseFontNote_; // why the window starts in English; empty when a font draws Chinese
    std::optional<std::chrono::steady_clock::time_point> lastPedalReport_;
    std::optional<DiscoveryReport> shownDiscovery_; // nothing until the first discovery
    std::optional<Finding> refusalCause_;           // of shownDiscovery_
    std::vector<UnheldInterface> shownUnheld_;
    std::vector<std::string> mixedInput_; // why the pedal's input cannot be told from others'; said once
    std::uint8_t tooltipLanguage_ = 0;
    std::unordered_map<const Control*, std::function<void()>> clickHandlers_;
    std::unordered_map<const Control*, std::function<void()>> changeHandlers_;
    std::array<Control*, kModifierToggleControls.size()> modifierToggles_{};
    std::array<Control*, kWriteButtonsAfterKeys.size()> writeButtonsAfterKeys_{};
    std::optional<std::filesystem::path> resultLog_;
    std::optional<AppendedLines> clickFile_;
};

} // namespace treadkey
