#include "app/form/usb_form.h"

#include "app/form/discovery_wording.h"
#include "app/form/id_text.h"
#include "app/form/utf32_text.h"
#include "app/form/window_wording.h"
#include "diagnosis/refusal_cause.h"
#include "protocol/frames.h"
#include "protocol/hex_filter.h"
#include "protocol/number_text.h"
#include "protocol/output_report.h"
#include "record/slot_press.h"
#include "record/state_file.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>

namespace treadkey {

namespace {

// How long after the pedal's last report a keystroke may still be one it typed: far longer than the system
// takes to pass a report on as a keystroke, and short enough that the computer's own keyboard is ignored
// only right after a press of the pedal.
constexpr auto kPedalKeystrokeTime = std::chrono::milliseconds(500);

std::string Trimmed(const std::string& text) {
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    const std::size_t first = text.find_first_not_of(kSpace);
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

} // namespace

std::deque<Control> USB::MakeControls() {
    std::deque<Control> controls;
    for (const ControlSpec& spec : ControlTable()) {
        controls.emplace_back(spec);
    }
    return controls;
}

Control& USB::Named(std::string_view name) {
    Control* control = FindControl(name);
    if (control == nullptr) {
        throw std::logic_error("the control table has no " + std::string(name));
    }
    return *control;
}

Control* USB::FindControl(std::string_view name) {
    for (Control& control : controls_) {
        if (control.spec.name == name) {
            return &control;
        }
    }
    return nullptr;
}

USB::USB(HidBackend& backend, FormView& view, WindowServices services)
    : link_(backend), watch_(backend), hold_(backend), view_(view), services_(std::move(services)),
      boxes_(view) {
    for (Control& control : controls_) {
        if (control.spec.keyIndex >= 0) {
            Command_key[static_cast<std::size_t>(control.spec.keyIndex)] = &control;
        }
    }
    ConnectHandlers();
}

void USB::ConnectHandlers() {
    clickHandlers_ = {
        {contion, [this] { contion_Click(); }},
        {Clear, [this] { Clear_Click(); }},
        {Command3, [this] { Command3_Click(); }},
        {Iwrite, [this] { Iwrite_Click(); }},
        {Option1, [this] { Option1_Click(); }},
        {Option2, [this] { Option2_Click(); }},
        {Command_auto_run, [this] { Command_auto_run_Click(); }},
        {Command2, [this] { Command2_Click(); }},
        {Command1, [this] { Command1_Click(); }},
    };
    changeHandlers_ = {
        {TextIW, [this] { TextIW_Change(); }},
        {Text_delay, [this] { Text_delay_Change(); }},
        {Combo1, [this] { ShowSlotRecord(); }},
    };
    for (int index = 0; index < kKeyButtonCount; ++index) {
        clickHandlers_[Command_key[static_cast<std::size_t>(index)]] = [this, index] {
            Command_key_Click(index);
        };
    }
    for (std::size_t i = 0; i < kModifierToggleControls.size(); ++i) {
        Control* toggle = &Named(kModifierToggleControls[i]);
        modifierToggles_[i] = toggle;
        clickHandlers_[toggle] = [this, toggle] { ToggleModifier(*toggle); };
    }
    for (std::size_t i = 0; i < kWriteButtonsAfterKeys.size(); ++i) {
        writeButtonsAfterKeys_[i] = &Named(kWriteButtonsAfterKeys[i]);
    }
    for (std::size_t i = 0; i < kMouseButtonControls.size(); ++i) {
        clickHandlers_[&Named(kMouseButtonControls[i])] = [this, i] { MouseButton_Click(i); };
    }
}

void USB::SetText(Control& control, const std::string& text) {
    if (control.text == text) {
        return;
    }
    control.text = text;
    view_.Show(control, ControlProperty::Text);
    if (const auto handler = changeHandlers_.find(&control); handler != changeHandlers_.end()) {
        handler->second();
    }
}

void USB::SetEnabled(Control& control, bool enabled) {
    if (control.enabled != enabled) {
        control.enabled = enabled;
        view_.Show(control, ControlProperty::Enabled);
    }
}

void USB::SetValue(Control& control, bool value) {
    if (control.value != value) {
        control.value = value;
        view_.Show(control, ControlProperty::Value);
    }
}

void USB::SetBackColor(Control& control, std::uint32_t color) {
    if (control.backColor != color) {
        control.backColor = color;
        view_.Show(control, ControlProperty::BackColor);
    }
}

void USB::SetToolTip(Control& control, const std::string& toolTip) {
    if (control.toolTip != toolTip) {
        control.toolTip = toolTip;
        view_.Show(control, ControlProperty::ToolTip);
    }
}

void USB::Click(Control& control) {
    // A disabled control takes no click, as on screen.
    if (!control.enabled) {
        return;
    }
    if (control.spec.kind == ControlKind::CheckBox) {
        SetValue(control, !control.value);
    } else if (control.spec.kind == ControlKind::OptionButton) {
        for (Control& other : controls_) {
            if (other.spec.kind == ControlKind::OptionButton &&
                other.spec.container == control.spec.container) {
                SetValue(other, &other == &control);
            }
        }
    }
    if (const auto handler = clickHandlers_.find(&control); handler != clickHandlers_.end()) {
        handler->second();
    }
}

void USB::TextEdited(Control& control, const std::string& text) {
    // The view shows the text already; only the handler is left to run.
    if (control.text == text) {
        return;
    }
    control.text = text;
    if (const auto handler = changeHandlers_.find(&control); handler != changeHandlers_.end()) {
        handler->second();
    }
}

void USB::StartInEnglish(const std::string& noChineseFontNote) {
    noChineseFontNote_ = noChineseFontNote;
}

void USB::Form_Load() {
    view_.ShowWindow();
    // Without a font that draws Chinese the window would start as boxes, the language button among them.
    IsChinese = noChineseFontNote_.empty() ? 0 : 1;
    Command3_Click();
    if (!noChineseFontNote_.empty()) {
        std::cerr << kDiscoveryNotePrefix << noChineseFontNote_ << std::endl;
        SetToolTip(*Label3, noChineseFontNote_);
    }
    FillKeyTable();
    DisableWriteButtons();
    view_.StartTimer(kTimerInterval);
}

void USB::FillKeyTable() {
    KeyCodes.Fill();
    for (const KeyEntry& key : KeyTable()) {
        if (key.index != kCodelessKeyIndex) {
            SetText(*Command_key[static_cast<std::size_t>(key.index)], std::string(key.caption));
        }
    }
    Combo1->items.clear();
    for (int slot = 1; slot <= 12; ++slot) {
        Combo1->items.push_back(std::to_string(slot));
    }
    // The slot box keeps showing its design text, with no item chosen.
    view_.Show(*Combo1, ControlProperty::Items);
}

bool USB::CloseRequested() {
    if (boxes_.BoxOpen()) {
        boxes_.Hold(HeldWork::Close, [this] { view_.CloseWindow(); });
        return false;
    }
    Form_Unload();
    return true;
}

void USB::Form_Unload() {
    view_.StopTimer();
    // A tick held by a message box would otherwise reopen the pedal after the close lines.
    boxes_.DropHeldWork();
    hold_.Release();
    CloseDeviceHandles();
}

void USB::Timer1_Timer() {
    if (boxes_.BoxOpen()) {
        boxes_.Hold(HeldWork::Tick, [this] { Timer1_Timer(); });
        return;
    }
    if (clickFile_) {
        for (const std::string& name : clickFile_->Take()) {
            if (Control* control = FindControl(name)) {
                Click(*control);
            }
        }
    }
    contion_Click();
    WatchPedal();
    // A write whose record another program held locked is recorded at the first tick after it lets go.
    if (actionReports_.Waiting()) {
        RecordWaitingActions();
    }
}

void USB::ActivationChanged() {
    FollowActivation();
    if (shownDiscovery_) {
        ShowDiscoveryReason();
    }
}

void USB::FollowActivation() {
    // While the user works in this window, the pedal's keys come here as press lines alone; turned to another
    // program, the user has the pedal type there again.
    if (view_.IsActive()) {
        hold_.Follow(link_.LastDiscovery.seen);
    } else {
        hold_.Release();
    }
}

bool USB::PedalIsTyping() {
    if (hold_.Unheld().empty()) {
        return false; // held, or nothing to hold: no key of the pedal's comes here
    }
    // The system queues a report for the pedal's readers before it passes it on as a keystroke, so whatever
    // the pedal sent up to this keystroke is there to read now.
    WatchPedal();
    return watch_.Holding() ||
           (lastPedalReport_ && std::chrono::steady_clock::now() - *lastPedalReport_ < kPedalKeystrokeTime);
}

void USB::WatchPedal() {
    // Far more than a pedal sends in a tick, and few enough that a flood cannot hold the window.
    constexpr int kReportsPerTick = 64;
    watch_.ReadQueued(kReportsPerTick, [this](const PedalWatch::Report& report) {
        lastPedalReport_ = std::chrono::steady_clock::now();
        for (const PedalEvent& event : report.reading.events) {
            // A media key, say, of a keyboard that carries them: no key of the key table, nothing to name.
            const HeldInputs& pressed = event.inputs;
            const bool named = pressed.modifiers != 0 || !pressed.keys.empty() || pressed.buttons != 0;
            if (event.kind == PedalEvent::Kind::Press && named) {
                const std::optional<PedalRecord> record = ChosenPedalRecord();
                AddResultLine(PedalSentLine(IsChinese != 0, pressed) +
                              (record ? RecordedSlotsNote(IsChinese != 0, SlotsSending(*record, pressed))
                                      : std::string()));
            }
        }
    });
}

void USB::NoteMixedInput(const std::vector<OpenResult>& refused) {
    // How the system hands input over is the same for every pedal and every replug: said once a run.
    if (!mixedInput_.empty()) {
        return;
    }
    for (const OpenResult& result : refused) {
        if (result.failure == OpenFailure::Unattributed) {
            mixedInput_.push_back(result.problem);
        }
    }
    if (!mixedInput_.empty()) {
        std::cerr << kDiscoveryNotePrefix << MixedInputNote(false, mixedInput_) << std::endl;
        ShowStatusTooltip();
    }
}

void USB::contion_Click() {
    VendorIDText = "&H" + Trimmed(TextVID->text);
    ProductIDText = "&H" + Trimmed(TextPID->text);
    FindTheHid();
}

void USB::ChoosePedal(const std::string& pedal) {
    link_.WantedPedal = pedal;
}

bool USB::FindTheHid() {
    const std::optional<std::uint16_t> vendorId = ParseIdText(VendorIDText);
    const std::optional<std::uint16_t> productId = ParseIdText(ProductIDText);
    bool found = false;
    if (vendorId && productId) {
        found = link_.FindTheHid(*vendorId, *productId);
    } else {
        link_.ForgetThePedal(); // an unreadable id matches nothing, quietly
    }
    FollowActivation(); // a replugged pedal is held again within the tick
    // The discovery just run saw every interface with the pedal's ids; the watch needs no listing of its own.
    // Followed before the hold is told of, which would promise a filter that mixed input cannot keep.
    NoteMixedInput(watch_.Follow(link_.LastDiscovery.seen).refused);
    if (found) {
        SetText(*Label3, std::string(kConnectedStatus.In(IsChinese != 0)));
        EnableWriteButtons();
    } else {
        SetText(*Label3, std::string(kNotConnectedStatus.In(IsChinese != 0)));
        DisableWriteButtons();
    }
    ShowDiscoveryReason();
    return found;
}

void USB::ShowDiscoveryReason() {
    const DiscoveryReport& report = link_.LastDiscovery;
    const bool discoveryChanged = report != shownDiscovery_;
    const bool holdChanged = hold_.Unheld() != shownUnheld_;
    // Each said on stderr once when it arises, not on every tick.
    if (discoveryChanged) {
        shownDiscovery_ = report;
        refusalCause_ = CauseOfRefusal(report, services_.lookAtSystem());
        const std::string reason = ExplainDiscovery(report, false, refusalCause_);
        if (!reason.empty()) {
            std::cerr << kDiscoveryNotePrefix << reason << std::endl;
        }
        // A pedal plugged in, pulled out or another one chosen: the slot box tells of the pedal there now.
        ShowSlotRecord();
    }
    if (holdChanged) {
        shownUnheld_ = hold_.Unheld();
        const std::string note = mixedInput_.empty() ? UnheldInputNote(false, shownUnheld_) : std::string();
        if (!note.empty()) {
            std::cerr << kDiscoveryNotePrefix << note << std::endl;
        }
    }
    // The tooltip follows the language switch at the next discovery, as the status text does.
    if (discoveryChanged || holdChanged || tooltipLanguage_ != IsChinese) {
        tooltipLanguage_ = IsChinese;
        ShowStatusTooltip();
    }
}

void USB::ShowStatusTooltip() {
    if (!shownDiscovery_) {
        return; // before the first discovery the tooltip holds the font note alone
    }
    const bool chinese = IsChinese != 0;
    // The font note, when there is one, stays above the account of the discovery, the hold and the record.
    std::vector<std::string> paragraphs{
        noChineseFontNote_, DescribePedalChoice(*shownDiscovery_, link_.WantedPedal, chinese),
        ExplainDiscovery(*shownDiscovery_, chinese, refusalCause_),
        mixedInput_.empty() ? UnheldInputNote(chinese, shownUnheld_) : MixedInputNote(chinese, mixedInput_)};
    for (const std::string& trouble : {recordSetAside_, recordProblem_}) {
        if (!trouble.empty()) {
            paragraphs.push_back(RecordTroubleNote(chinese, trouble));
        }
    }
    std::string toolTip;
    for (const std::string& paragraph : paragraphs) {
        if (!paragraph.empty()) {
            toolTip += (toolTip.empty() ? "" : "\n\n") + paragraph;
        }
    }
    SetToolTip(*Label3, toolTip);
}

void USB::CloseDeviceHandles() {
    link_.CloseDeviceHandles();
    AddResultLine(std::string(kCloseHidHandleLine));
    AddResultLine(std::string(kCloseReadHandleLine));
}

bool USB::SendCommandText() {
    if (!link_.DeviceDetected && link_.ConnectedOnce) {
        FindTheHid(); // one reconnection attempt per send
    }
    const bool connected = link_.DeviceDetected;
    // Unsent, the frame is still kept whole: the record must know what the action would have changed.
    const std::vector<std::uint8_t> report =
        BuildOutputReport(TextIW->text, connected ? link_.OutputReportByteLength : kFrameReportLength);
    const bool written = connected && link_.WriteReport(report);
    // The record is written once the handler that sends has returned: after the action's last report and
    // its pauses, never between them.
    if (!actionReports_.Sending()) {
        view_.Post([this] { RecordAction(); });
    }
    actionReports_.Add(link_.ChosenPedal(), report, written);
    return written;
}

void USB::RecordAction() {
    actionReports_.EndAction({UtcNowText(), std::string(kWindowProgram)});
    RecordWaitingActions();
}

void USB::RecordWaitingActions() {
    const std::optional<std::filesystem::path> directory = services_.stateDirectory();
    if (!directory) {
        actionReports_ = ActionReports();
        SayRecordTrouble({{}, "", NoRecordKeptDetail()});
        return;
    }
    for (const LoadedRecord& loaded : actionReports_.RecordWaiting(*directory)) {
        SayRecordTrouble(loaded);
    }
    ShowSlotRecord();
}

std::optional<PedalRecord> USB::ChosenPedalRecord() {
    const std::optional<std::filesystem::path> directory = services_.stateDirectory();
    const std::string pedal = link_.ChosenPedal();
    if (!directory || pedal.empty()) {
        return std::nullopt;
    }
    // A file where the state directory should be reads as a record of unknowns: it is told instead.
    if (const std::string problem = StateDirectoryProblem(*directory); !problem.empty()) {
        SayRecordTrouble(
            {{}, "", "the state directory " + directory->string() + " cannot be used: " + problem});
        return std::nullopt;
    }
    const LoadedRecord loaded = LoadPedalRecord(PedalRecordFile(*directory, pedal), UtcNowText());
    SayRecordTrouble(loaded);
    return loaded.error.empty() ? std::optional(loaded.record) : std::nullopt;
}

void USB::ShowSlotRecord() {
    const double slot = ReadLeadingNumber(Combo1->text);
    const bool listed = slot >= 1 && slot <= kSlotCount && slot == std::floor(slot);
    const std::optional<PedalRecord> record = listed ? ChosenPedalRecord() : std::nullopt;
    if (!record) {
        SetToolTip(*Combo1, "");
        return;
    }
    std::string text = SlotRecordTooltip(IsChinese != 0, static_cast<int>(slot),
                                         record->slotWords[static_cast<std::size_t>(slot) - 1]);
    if (actionReports_.Behind(link_.ChosenPedal())) {
        text += "\n\n" + std::string(kRecordBehindNote.In(IsChinese != 0));
    }
    SetToolTip(*Combo1, text);
}

void USB::SayRecordTrouble(const LoadedRecord& loaded) {
    // Each said on stderr once, not at every read of the record; the status tooltip keeps it in sight.
    const std::string setAside = loaded.warning.empty() ? recordSetAside_ : loaded.warning;
    if (setAside == recordSetAside_ && loaded.error == recordProblem_) {
        return;
    }
    for (const std::string& line : {loaded.warning, loaded.error}) {
        if (!line.empty()) {
            std::cerr << kDiscoveryNotePrefix << "warning: " << line << std::endl;
        }
    }
    recordSetAside_ = setAside;
    recordProblem_ = loaded.error;
    ShowStatusTooltip();
}

void USB::AddResultLine(const std::string& text) {
    const std::string line = "[" + view_.TimeStamp() + "]: " + text;
    view_.AddResultLine(line);
    if (resultLog_) {
        std::ofstream(*resultLog_, std::ios::app | std::ios::binary) << line << '\n';
    }
}

void USB::CopyResultLinesTo(const std::filesystem::path& file) {
    resultLog_ = file;
}

void USB::TakeClicksFrom(const std::filesystem::path& file) {
    clickFile_.emplace(file);
}

void USB::Clear_Click() {
    view_.ClearResultLines();
}

void USB::TextIW_Change() {
    // Each removal below changes the text again; the loop does the rounds that re-entry would do.
    if (filteringCommandText_) {
        return;
    }
    filteringCommandText_ = true;
    std::u32string text = Utf32Of(TextIW->text);
    while (std::optional<HexFilterStep> step = NextHexFilterStep(text)) {
        boxes_.ShowMessage(std::string(kNotHexMessage), std::string(kWindowProgram));
        text = std::move(step->remaining);
        SetText(*TextIW, Utf8Of(text));
    }
    filteringCommandText_ = false;
}

void USB::Iwrite_Click() {
    const bool written = SendCommandText();
    AddResultLine(written ? std::string(kWrittenDataPrefix) + TextIW->text : std::string(kWriteFailedLine));
}

void USB::SendPlaybackWord(bool autoRunOn, bool loopPlayback) {
    SetText(*TextIW, PlaybackFrame(autoRunOn, loopPlayback));
    SendCommandText();
}

void USB::Option1_Click() {
    SendPlaybackWord(Command_auto_run->IsGreen(), false);
    AddResultLine(std::string(kSinglePlaybackLine));
}

void USB::Option2_Click() {
    SendPlaybackWord(Command_auto_run->IsGreen(), true);
    AddResultLine(std::string(kLoopPlaybackLine));
}

void USB::Command_auto_run_Click() {
    const bool switchOn = !Command_auto_run->IsGreen();
    SetBackColor(*Command_auto_run, switchOn ? kGreen : kButtonFace);
    // The log line records the user's choice and comes before the send.
    AddResultLine(std::string(switchOn ? kAutoRunOnLine : kAutoRunOffLine));
    SendPlaybackWord(switchOn, Option2->value);
}

USB::DelaySetting USB::ReadDelay() const {
    const double reading = ReadLeadingNumber(Text_delay->text);
    const double delay = RoundHalfEven(reading);
    return {delay, reading > 0 ? KeyDelayLogLine(IsChinese != 0, delay) : std::string()};
}

bool USB::SendFrames(const FrameSequence& frames) {
    bool allWritten = true;
    for (const PacedFrame& frame : frames) {
        if (frame.pauseBefore.count() > 0) {
            view_.Pause(static_cast<int>(frame.pauseBefore.count()));
        }
        SetText(*TextIW, frame.text);
        allWritten = SendCommandText() && allWritten;
    }
    return allWritten;
}

void USB::Command2_Click() {
    if (!link_.DeviceDetected && !link_.ConnectedOnce) {
        AddResultLine(std::string(kNeverConnectedLine));
        return;
    }
    const DelaySetting delay = ReadDelay();
    if (!SendFrames(DelaySettingsSequence(delay.value, Check_once->value))) {
        AddResultLine(std::string(kWriteFailedLine));
    } else if (!delay.logLine.empty()) {
        AddResultLine(delay.logLine);
    }
}

void USB::Text_delay_Change() {
    if (ReadLeadingNumber(Text_delay->text) > 65535) {
        SetText(*Text_delay, "65535");
    }
}

void USB::Command1_Click() {
    SetText(*TextIW, "aa 00 ff ff ff ff");
    if (!boxes_.AskOkCancel(std::string(kClearAllQuestion), std::string(kClearAllTitle))) {
        return;
    }
    SetText(*Combo1, "0");
    AddResultLine(std::string(SendFrames(ClearAllSequence()) ? kClearedAllLine : kWriteFailedLine));
}

void USB::ToggleModifier(Control& toggle) {
    SetBackColor(toggle, toggle.backColor == kButtonFace ? kGreen : kButtonFace);
    CurrentCode = 0; // a toggle previews the frame and never re-sends a key
    ComposeKeyCommand();
}

void USB::ComposeKeyCommand() {
    ModifierByte = 0;
    for (std::size_t i = 0; i < kModifiers.size(); ++i) {
        if (modifierToggles_[i]->IsGreen()) {
            ModifierByte = static_cast<std::uint8_t>(ModifierByte | kModifiers[i].bit);
        }
    }
    SetText(*TextIW, KeyFrame(Combo1->text, ModifierByte, CurrentCode));
}

void USB::Command_key_Click(int Index) {
    if (!link_.DeviceDetected && !link_.ConnectedOnce) {
        AddResultLine(std::string(kWriteFailedLine));
        return;
    }
    const std::optional<std::string_view> code = KeyCodes.At(Index);
    if (!code || Index >= kKeyButtonCount) {
        return;
    }
    CurrentCode = ReadLeadingNumber(*code);
    ComposeKeyCommand();
    const DelaySetting delay = ReadDelay();
    const bool written = SendFrames(
        KeyAssignmentSequence(Combo1->text, ModifierByte, CurrentCode, delay.value, Check_once->value));
    // The key and its two settings frames are one assignment: it is logged as done only when all three went.
    if (!written) {
        AddResultLine(std::string(kWriteFailedLine));
        return;
    }
    if (!delay.logLine.empty()) {
        AddResultLine(delay.logLine);
    }
    AddResultLine(KeyLogLine(IsChinese != 0, ModifierByte, Command_key[static_cast<std::size_t>(Index)]->text,
                             Combo1->text));
}

void USB::ComposeMouseCommand() {
    SetText(*TextIW, MouseFrame(Combo1->text, CurrentCode));
}

void USB::MouseButton_Click(std::size_t buttonIndex) {
    CurrentCode = kMouseButtons[buttonIndex].code;
    ComposeMouseCommand();
    const bool written = SendCommandText();
    AddResultLine(written ? MouseLogLine(IsChinese != 0, buttonIndex, Combo1->text)
                          : std::string(kWriteFailedLine));
}

void USB::Command3_Click() {
    const bool toChinese = IsChinese == 0;
    IsChinese = toChinese ? 1 : 0;
    for (const SwitchableCaption& caption : kSwitchableCaptions) {
        SetText(Named(caption.control), std::string(toChinese ? caption.chinese : caption.english));
    }
    ShowSlotRecord();
}

void USB::EnableWriteButtons() {
    SetWriteButtonsEnabled(true);
}

void USB::DisableWriteButtons() {
    SetWriteButtonsEnabled(false);
}

void USB::SetWriteButtonsEnabled(bool enabled) {
    for (Control* key : Command_key) {
        SetEnabled(*key, enabled);
    }
    for (Control* button : writeButtonsAfterKeys_) {
        SetEnabled(*button, enabled);
    }
}

} // namespace treadkey
