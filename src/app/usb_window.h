#pragma once

#include "app/graphical_button.h"
#include "app/modal_gate.h"
#include "app/pedal_keystroke_filter.h"
#include "app/ui_services.h"
#include "app/window_controls.h"
#include "app/window_font.h"
#include "diagnosis/diagnosis.h"
#include "editor/frame_sequences.h"
#include "editor/key_table.h"
#include "pedal/device_link.h"
#include "pedal/pedal_hold.h"
#include "pedal/pedal_watch.h"
#include "record/action_reports.h"

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTimer;

namespace treadkey {

// The program's one window. It owns every control and wires each to the UI-free units; controls, handlers and
// state keep the names the rest of the program and its tests know them by.
class USB : public QWidget {
    Q_OBJECT

public:
    // The window's font is the first of fontFamilies that draws every Chinese caption.
    USB(HidBackend& backend, UiServices& ui, const QStringList& fontFamilies = WindowFontFamilies());

    // Start-up: show, switch to Chinese (to English when no font draws Chinese), fill the key table, disable
    // the writing controls, start the timer.
    void Form_Load();

    // Device link.
    // Connects to this pedal alone (its identity, from --pedal); without it, to the first pedal present.
    void ChoosePedal(const std::string& pedal);
    void Timer1_Timer();
    void contion_Click();
    bool FindTheHid();
    void CloseDeviceHandles();
    // Sends the command box as one report; true when the device took it.
    bool SendCommandText();
    void AddResultLine(const QString& text);
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

    std::uint8_t IsChinese = 0;
    KeyCodeTable KeyCodes;
    double CurrentCode = 0;
    std::uint8_t ModifierByte = 0;
    QString VendorIDText;
    QString ProductIDText;

    QLabel* Label3;
    QLabel* Label9;
    QLabel* Label_key_no;
    QComboBox* Combo1;
    QLabel* Label_delay;
    QLineEdit* Text_delay;
    QLabel* Label8;
    QCheckBox* Check_once;
    QGroupBox* Frame_mouse_btn;
    QPushButton* Command_L_btn;
    QPushButton* Command_M_btn;
    QPushButton* Command_R_btn;
    QPushButton* Command3;
    QLabel* Label7;
    QGroupBox* Frame1;
    QLabel* Label_Status;
    QPushButton* Clear;
    QListWidget* lstResults;
    std::array<QPushButton*, kKeyButtonCount> Command_key{};
    GraphicalButton* Command_shift;
    GraphicalButton* Command_shift_r;
    GraphicalButton* Command_ctrl;
    GraphicalButton* Command_alt;
    GraphicalButton* Command_win;
    GraphicalButton* Command_alt_r;
    GraphicalButton* Command_win_r;
    GraphicalButton* Command_ctrl_r;
    // Created hidden and never shown.
    QGroupBox* Frame4;
    QRadioButton* Option2;
    QRadioButton* Option1;
    GraphicalButton* Command_auto_run;
    QPushButton* Command2;
    QPushButton* Command1;
    QGroupBox* Frame2;
    QLineEdit* TextIW;
    QPushButton* Iwrite;
    QPushButton* contion;
    QLineEdit* TextVID;
    QLineEdit* TextPID;
    QLabel* Label1;
    QLabel* Label2;
    QTimer* Timer1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The delay box as sent (rounded half to even), and its log line: none unless the box reads above 0.
    struct DelaySetting {
        double value;
        QString logLine;
    };

    void CreateControls();
    void ConnectHandlers();
    void SetTabOrder();
    void Form_Unload();
    void FillKeyTable();
    void SetWriteButtonsEnabled(bool enabled);
    void ToggleModifier(GraphicalButton* toggle);
    void MouseButton_Click(std::size_t buttonIndex);
    void SendPlaybackWord(bool autoRunOn, bool loopPlayback);
    DelaySetting ReadDelay() const;
    // Puts each frame into the command box and sends it, after its pause; true when every one was written.
    bool SendFrames(const FrameSequence& frames);
    void ShowDiscoveryReason();
    // Logs each press the pedal's keyboard and mouse interfaces sent since the last tick.
    void WatchPedal();
    // Whether this window or a box it raised is the active window, the one that takes the keys.
    bool OwnsActiveWindow() const;
    // Holds the pedal's keyboard and mouse while the window takes the keys, and lets go of them otherwise.
    void FollowActivation();
    // Whether a keystroke that comes now may be one the pedal typed: its input is not held, and it holds a
    // key or button down or has just sent a report.
    bool PedalIsTyping();
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
    PedalKeystrokeFilter keystrokes_;
    QElapsedTimer sincePedalReport_; // restarted by each report of the pedal's keyboard or mouse
    UiServices& ui_;
    ModalGate boxes_;
    ActionReports actionReports_; // of the action being sent, and those whose record waits for its lock
    std::string recordSetAside_;  // the last record set aside as unreadable
    std::string recordProblem_;   // why the last record read or stored could not be; empty when it could
    bool filteringCommandText_ = false;
    // The families the window's fonts come from, and why the window starts in English: empty when one of
    // them draws Chinese.
    QStringList fontFamilies_;
    QString noChineseFontNote_;
    std::optional<DiscoveryReport> shownDiscovery_; // nothing until the first discovery
    std::optional<Finding> refusalCause_;           // of shownDiscovery_
    std::vector<UnheldInterface> shownUnheld_;
    std::uint8_t tooltipLanguage_ = 0;
    // Looked up once by name, so that neither the 350 ms tick nor a composition searches the children.
    std::array<GraphicalButton*, kModifierToggleControls.size()> modifierToggles_{};
    std::array<QWidget*, kWriteButtonsAfterKeys.size()> writeButtonsAfterKeys_{};
};

} // namespace treadkey
