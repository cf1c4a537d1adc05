#include "app/usb_window.h"

#include "app/caption_label.h"
#include "app/discovery_wording.h"
#include "app/etched_frame.h"
#include "app/pedal_wording.h"
#include "app/reading_order.h"
#include "app/result_line.h"
#include "app/window_controls.h"
#include "app/window_wording.h"
#include "diagnosis/refusal_cause.h"
#include "editor/frame_sequences.h"
#include "protocol/frames.h"
#include "protocol/hex_filter.h"
#include "protocol/number_text.h"
#include "protocol/output_report.h"
#include "record/slot_press.h"
#include "record/state_file.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>
#include <cmath>
#include <iostream>
#include <limits>

namespace treadkey {

namespace {

// The window's client area in twips: 1066 by 673 logical pixels.
constexpr TwipRect kClientArea{0, 0, 15990, 10095};
constexpr int kTwipsPerPixel = 15;
constexpr int kTimerInterval = 350;
// How long after the pedal's last report a keystroke may still be one it typed: far longer than the system
// takes to pass a report on as a keystroke, and short enough that the computer's own keyboard is ignored
// only right after a press of the pedal.
constexpr qint64 kPedalKeystrokeMs = 500;

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect Pixels(TwipRect r) {
    const auto px = [](int twips) { return static_cast<int>(std::lround(twips / double(kTwipsPerPixel))); };
    return {px(r.left), px(r.top), px(r.width), px(r.height)};
}

template <typename Widget> Widget* Place(Widget* widget, const char* name, TwipRect place) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(Pixels(place));
    return widget;
}

// A control made with its design caption, which every control that shows text takes as its first argument.
template <typename Widget> Widget* Make(QWidget* parent, const char* name, TwipRect place) {
    return Place(new Widget(Utf8(DesignCaption(name)), parent), name, place);
}

// Labels size themselves to their caption, as the window's design asks of every label, up to the control at
// their right, which starts at roomEnd twips.
QLabel* MakeLabel(QWidget* parent, const char* name, TwipRect place, int roomEnd = kClientArea.width) {
    auto* label = Make<CaptionLabel>(parent, name, place);
    label->SetRoom(Pixels({place.left, 0, roomEnd - place.left, 0}).width());
    label->adjustSize();
    return label;
}

void SetCaption(QWidget* control, const QString& caption) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(caption);
        label->adjustSize();
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(caption);
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
        frame->setTitle(caption);
    }
}

} // namespace

USB::USB(HidBackend& backend, UiServices& ui, const QStringList& fontFamilies)
    : link_(backend), watch_(backend), hold_(backend), keystrokes_([this] { return PedalIsTyping(); }),
      ui_(ui), boxes_(ui, *this) {
    QCoreApplication::instance()->installEventFilter(&keystrokes_);
    setWindowTitle(Utf8(kWindowTitle));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Pixels(kClientArea).size());
    QStringList chineseCaptions;
    for (std::string_view caption : ChineseCaptions()) {
        chineseCaptions << Utf8(caption);
    }
    const QString family = FirstFamilyDrawing(fontFamilies, chineseCaptions);
    fontFamilies_ = family.isEmpty() ? fontFamilies : QStringList{family};
    if (family.isEmpty()) {
        noChineseFontNote_ = Utf8(NoChineseFontNote(fontFamilies.join(QStringLiteral(", ")).toStdString()));
    }
    setFont(WindowFont(fontFamilies_, 10.5, QFont::Normal));
    CreateControls();
    ConnectHandlers();
}

void USB::CreateControls() {
    Label3 = MakeLabel(this, "Label3", {120, 120, 3450, 285});
    Label3->setFont(WindowFont(fontFamilies_, 14.25, QFont::Normal));
    Label3->adjustSize();
    Label9 = MakeLabel(this, "Label9", {12360, 120, 105, 210});
    Label_key_no = MakeLabel(this, "Label_key_no", {120, 960, 945, 210}, 1560);
    Combo1 = Place(new QComboBox(this), "Combo1", {1560, 960, 855, 330});
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setEditText(QStringLiteral("1"));
    Label_delay = MakeLabel(this, "Label_delay", {3480, 960, 945, 210}, 4560);
    Text_delay = Make<QLineEdit>(this, "Text_delay", {4560, 960, 855, 375});
    Label8 = MakeLabel(this, "Label8", {5520, 960, 210, 210}, 6000);
    Check_once = Make<QCheckBox>(this, "Check_once", {6000, 960, 2415, 375});
    Frame_mouse_btn = Make<EtchedFrame>(this, "Frame_mouse_btn", {8640, 840, 3255, 975});
    Command_L_btn = Make<CaptionButton>(Frame_mouse_btn, "Command_L_btn", {120, 240, 855, 615});
    Command_M_btn = Make<CaptionButton>(Frame_mouse_btn, "Command_M_btn", {1200, 240, 855, 615});
    Command_R_btn = Make<CaptionButton>(Frame_mouse_btn, "Command_R_btn", {2280, 240, 855, 615});
    for (QPushButton* mouseButton : {Command_L_btn, Command_M_btn, Command_R_btn}) {
        mouseButton->setEnabled(false);
    }
    Command3 = Make<CaptionButton>(this, "Command3", {12240, 960, 1335, 735});
    Label7 = MakeLabel(this, "Label7", {120, 1680, 2940, 210});
    Frame1 = Make<EtchedFrame>(this, "Frame1", {120, 2160, 15735, 3855});
    Label_Status = MakeLabel(this, "Label_Status", {120, 6240, 1050, 210}, 2160);
    Clear = Make<CaptionButton>(this, "Clear", {120, 6720, 1695, 495});
    lstResults = Place(new QListWidget(this), "lstResults", {2160, 6120, 13695, 3840});

    for (const KeyEntry& key : KeyTable()) {
        QWidget* container = key.container == KeyContainer::Frame1 ? static_cast<QWidget*>(Frame1) : this;
        const QString caption = key.index == kCodelessKeyIndex ? Utf8(key.caption) : QString();
        auto* button = Place(new CaptionButton(caption, container), "", key.place);
        button->setObjectName(QStringLiteral("Command_key_%1").arg(key.index));
        button->setVisible(key.container == KeyContainer::Frame1);
        Command_key[static_cast<std::size_t>(key.index)] = button;
    }

    const auto toggle = [this](const char* name, TwipRect place) {
        auto* button = Make<GraphicalButton>(Frame1, name, place);
        button->setEnabled(false);
        return button;
    };
    Command_shift = toggle("Command_shift", {120, 2640, 1215, 495});
    Command_shift_r = toggle("Command_shift_r", {7680, 2640, 1335, 495});
    Command_ctrl = toggle("Command_ctrl", {120, 3240, 975, 495});
    Command_alt = toggle("Command_alt", {1200, 3240, 855, 495});
    Command_win = toggle("Command_win", {2160, 3240, 855, 495});
    Command_alt_r = toggle("Command_alt_r", {5760, 3240, 735, 495});
    Command_win_r = toggle("Command_win_r", {6600, 3240, 735, 495});
    Command_ctrl_r = toggle("Command_ctrl_r", {8280, 3240, 735, 495});

    // The controls below exist for their handlers and values; none of them is ever shown.
    Frame4 = Make<EtchedFrame>(this, "Frame4", {240, 7320, 1815, 975});
    Option2 = Make<QRadioButton>(Frame4, "Option2", {1800, 240, 1335, 255});
    Option2->setChecked(true);
    Option1 = Make<QRadioButton>(Frame4, "Option1", {1800, 600, 1215, 255});
    Command_auto_run = Make<GraphicalButton>(Frame4, "Command_auto_run", {120, 360, 1455, 375});
    Command2 = Make<QPushButton>(this, "Command2", {4320, 1440, 1095, 375});
    Command1 = Make<QPushButton>(this, "Command1", {6360, 0, 1455, 375});
    Command1->setEnabled(false);
    Frame2 = Make<EtchedFrame>(this, "Frame2", {120, 8880, 3375, 975});
    TextIW = Make<QLineEdit>(Frame2, "TextIW", {1320, 240, 2895, 495});
    TextIW->setEnabled(false);
    // A pasted text is filtered whole, never cut at the line edit's default limit.
    TextIW->setMaxLength(std::numeric_limits<int>::max());
    Iwrite = Make<QPushButton>(Frame2, "Iwrite", {240, 240, 855, 495});
    Iwrite->setEnabled(false);
    contion = Make<QPushButton>(this, "contion", {240, 8400, 1455, 255});
    contion->setFont(WindowFont(fontFamilies_, 12, QFont::Normal));
    TextVID = Make<QLineEdit>(this, "TextVID", {14880, 480, 855, 375});
    TextPID = Make<QLineEdit>(this, "TextPID", {14880, 960, 855, 375});
    const QFont idLabelFont =
        WindowFont(QStringList{QStringLiteral("NSimSun")} + fontFamilies_, 14.25, QFont::Bold);
    Label1 = MakeLabel(this, "Label1", {14280, 480, 495, 285});
    Label1->setFont(idLabelFont);
    Label2 = MakeLabel(this, "Label2", {14280, 960, 495, 285});
    Label2->setFont(idLabelFont);
    for (QWidget* hidden : std::initializer_list<QWidget*>{Frame4, Command2, Command1, Frame2, contion,
                                                           TextVID, TextPID, Label1, Label2}) {
        hidden->setVisible(false);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerInterval);
    SetTabOrder();
}

void USB::SetTabOrder() {
    // Tab walks the window as it is read: the settings row, the keyboard row by row, then the log. Made in
    // the key table's order, the keys would otherwise be met scattered, the modifiers last.
    std::vector<QWidget*> keyboard;
    for (QAbstractButton* key : Frame1->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
        keyboard.push_back(key);
    }
    std::vector<QWidget*> chain{Combo1,        Text_delay,    Check_once, Command_L_btn,
                                Command_M_btn, Command_R_btn, Command3};
    for (QWidget* key : InReadingOrder(std::move(keyboard))) {
        chain.push_back(key);
    }
    chain.push_back(Clear);
    chain.push_back(lstResults);
    for (std::size_t i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
}

void USB::ConnectHandlers() {
    connect(Timer1, &QTimer::timeout, this, &USB::Timer1_Timer);
    connect(contion, &QPushButton::clicked, this, &USB::contion_Click);
    connect(Clear, &QPushButton::clicked, this, &USB::Clear_Click);
    connect(Command3, &QPushButton::clicked, this, &USB::Command3_Click);
    connect(TextIW, &QLineEdit::textChanged, this, &USB::TextIW_Change);
    connect(Iwrite, &QPushButton::clicked, this, &USB::Iwrite_Click);
    connect(Option1, &QRadioButton::clicked, this, &USB::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &USB::Option2_Click);
    connect(Command_auto_run, &QPushButton::clicked, this, &USB::Command_auto_run_Click);
    connect(Command2, &QPushButton::clicked, this, &USB::Command2_Click);
    connect(Text_delay, &QLineEdit::textChanged, this, &USB::Text_delay_Change);
    connect(Command1, &QPushButton::clicked, this, &USB::Command1_Click);
    connect(Combo1, &QComboBox::editTextChanged, this, &USB::ShowSlotRecord);
    for (int index = 0; index < kKeyButtonCount; ++index) {
        connect(Command_key[static_cast<std::size_t>(index)], &QPushButton::clicked, this,
                [this, index] { Command_key_Click(index); });
    }
    for (std::size_t i = 0; i < kModifierToggleControls.size(); ++i) {
        auto* button = findChild<GraphicalButton*>(Utf8(kModifierToggleControls[i]));
        modifierToggles_[i] = button;
        connect(button, &QPushButton::clicked, this, [this, button] { ToggleModifier(button); });
    }
    for (std::size_t i = 0; i < kWriteButtonsAfterKeys.size(); ++i) {
        writeButtonsAfterKeys_[i] = findChild<QWidget*>(Utf8(kWriteButtonsAfterKeys[i]));
    }
    for (std::size_t i = 0; i < kMouseButtonControls.size(); ++i) {
        auto* button = findChild<QPushButton*>(Utf8(kMouseButtonControls[i]));
        connect(button, &QPushButton::clicked, this, [this, i] { MouseButton_Click(i); });
    }
}

void USB::Form_Load() {
    if (const QScreen* display = screen()) {
        move(display->availableGeometry().center() - rect().center());
    }
    show();
    // Without a font that draws Chinese the window would start as boxes, the language button among them.
    IsChinese = noChineseFontNote_.isEmpty() ? 0 : 1;
    Command3_Click();
    if (!noChineseFontNote_.isEmpty()) {
        std::cerr << kDiscoveryNotePrefix << noChineseFontNote_.toStdString() << std::endl;
        Label3->setToolTip(noChineseFontNote_);
    }
    FillKeyTable();
    DisableWriteButtons();
    Timer1->start();
}

void USB::FillKeyTable() {
    KeyCodes.Fill();
    for (const KeyEntry& key : KeyTable()) {
        if (key.index != kCodelessKeyIndex) {
            Command_key[static_cast<std::size_t>(key.index)]->setText(Utf8(key.caption));
        }
    }
    for (int slot = 1; slot <= 12; ++slot) {
        Combo1->addItem(QString::number(slot));
    }
    // Filling the list selects its first item; the slot box shows its design text with no item chosen.
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QStringLiteral("1"));
}

void USB::closeEvent(QCloseEvent* event) {
    if (boxes_.BoxOpen()) {
        boxes_.Hold(HeldWork::Close, [this] { close(); });
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void USB::Form_Unload() {
    Timer1->stop();
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
    contion_Click();
    WatchPedal();
    // A write whose record another program held locked is recorded at the first tick after it lets go.
    if (actionReports_.Waiting()) {
        RecordWaitingActions();
    }
}

void USB::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        FollowActivation();
        if (shownDiscovery_) {
            ShowDiscoveryReason();
        }
    }
    QWidget::changeEvent(event);
}

bool USB::OwnsActiveWindow() const {
    for (const QWidget* window = QApplication::activeWindow(); window != nullptr;
         window = window->parentWidget()) {
        if (window == this) {
            return true;
        }
    }
    return false;
}

void USB::FollowActivation() {
    // While the user works in this window, the pedal's keys come here as press lines alone; turned to another
    // program, the user has the pedal type there again.
    if (OwnsActiveWindow()) {
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
           (sincePedalReport_.isValid() && !sincePedalReport_.hasExpired(kPedalKeystrokeMs));
}

void USB::WatchPedal() {
    // Far more than a pedal sends in a tick, and few enough that a flood cannot hold the window.
    constexpr int kReportsPerTick = 64;
    // The discovery just run saw every interface with the pedal's ids; the watch needs no listing of its own.
    watch_.Follow(link_.LastDiscovery.seen);
    watch_.ReadQueued(kReportsPerTick, [this](const PedalWatch::Report& report) {
        sincePedalReport_.start();
        for (const PedalEvent& event : report.reading.events) {
            // A media key, say, of a keyboard that carries them: no key of the key table, nothing to name.
            const HeldInputs& pressed = event.inputs;
            const bool named = pressed.modifiers != 0 || !pressed.keys.empty() || pressed.buttons != 0;
            if (event.kind == PedalEvent::Kind::Press && named) {
                const std::optional<PedalRecord> record = ChosenPedalRecord();
                AddResultLine(Utf8(PedalSentLine(IsChinese != 0, pressed) +
                                   (record ? RecordedSlotsNote(IsChinese != 0, SlotsSending(*record, pressed))
                                           : std::string())));
            }
        }
    });
}

void USB::contion_Click() {
    VendorIDText = QStringLiteral("&H") + TextVID->text().trimmed();
    ProductIDText = QStringLiteral("&H") + TextPID->text().trimmed();
    FindTheHid();
}

void USB::ChoosePedal(const std::string& pedal) {
    link_.WantedPedal = pedal;
}

bool USB::FindTheHid() {
    const bool found = link_.FindTheHid(VendorIDText.toStdString(), ProductIDText.toStdString());
    FollowActivation(); // a replugged pedal is held again within the tick
    if (found) {
        SetCaption(Label3, Utf8(kConnectedStatus.In(IsChinese != 0)));
        EnableWriteButtons();
    } else {
        SetCaption(Label3, Utf8(kNotConnectedStatus.In(IsChinese != 0)));
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
        refusalCause_ = CauseOfRefusal(report, ui_.LookAtSystem());
        const std::string reason = ExplainDiscovery(report, false, refusalCause_);
        if (!reason.empty()) {
            std::cerr << kDiscoveryNotePrefix << reason << std::endl;
        }
        // A pedal plugged in, pulled out or another one chosen: the slot box tells of the pedal there now.
        ShowSlotRecord();
    }
    if (holdChanged) {
        shownUnheld_ = hold_.Unheld();
        const std::string note = UnheldInputNote(false, shownUnheld_);
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
    QStringList paragraphs{noChineseFontNote_,
                           Utf8(DescribePedalChoice(*shownDiscovery_, link_.WantedPedal, chinese)),
                           Utf8(ExplainDiscovery(*shownDiscovery_, chinese, refusalCause_)),
                           Utf8(UnheldInputNote(chinese, shownUnheld_))};
    for (const std::string& trouble : {recordSetAside_, recordProblem_}) {
        if (!trouble.empty()) {
            paragraphs << Utf8(RecordTroubleNote(chinese, trouble));
        }
    }
    paragraphs.removeAll(QString());
    Label3->setToolTip(paragraphs.join(QStringLiteral("\n\n")));
}

void USB::CloseDeviceHandles() {
    link_.CloseDeviceHandles();
    AddResultLine(Utf8(kCloseHidHandleLine));
    AddResultLine(Utf8(kCloseReadHandleLine));
}

bool USB::SendCommandText() {
    if (!link_.DeviceDetected && link_.ConnectedOnce) {
        FindTheHid(); // one reconnection attempt per send
    }
    const bool connected = link_.DeviceDetected;
    // Unsent, the frame is still kept whole: the record must know what the action would have changed.
    const std::vector<std::uint8_t> report = BuildOutputReport(
        TextIW->text().toStdString(), connected ? link_.OutputReportByteLength : kFrameReportLength);
    const bool written = connected && link_.WriteReport(report);
    // The record is written once the handler that sends has returned: after the action's last report and
    // its pauses, never between them.
    if (!actionReports_.Sending()) {
        QTimer::singleShot(0, this, &USB::RecordAction);
    }
    actionReports_.Add(link_.ChosenPedal(), report, written);
    return written;
}

void USB::RecordAction() {
    actionReports_.EndAction({UtcNowText(), "treadkey-setup"});
    RecordWaitingActions();
}

void USB::RecordWaitingActions() {
    const std::optional<std::filesystem::path> directory = ui_.StateDirectory();
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
    const std::optional<std::filesystem::path> directory = ui_.StateDirectory();
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
    const double slot = ReadLeadingNumber(Combo1->currentText().toStdString());
    const bool listed = slot >= 1 && slot <= kSlotCount && slot == std::floor(slot);
    const std::optional<PedalRecord> record = listed ? ChosenPedalRecord() : std::nullopt;
    if (!record) {
        Combo1->setToolTip(QString());
        return;
    }
    std::string text = SlotRecordTooltip(IsChinese != 0, static_cast<int>(slot),
                                         record->slotWords[static_cast<std::size_t>(slot) - 1]);
    if (actionReports_.Behind(link_.ChosenPedal())) {
        text += "\n\n" + std::string(kRecordBehindNote.In(IsChinese != 0));
    }
    // Given as HTML of the plain text: a tooltip reads "< A >" in it as a tag, and would drop the key's name.
    Combo1->setToolTip(Qt::convertFromPlainText(Utf8(text), Qt::WhiteSpaceNormal));
}

void USB::SayRecordTrouble(const LoadedRecord& loaded) {
    // Each said on stderr once, not at every read of the record; the status tooltip keeps it in sight.
    const std::string setAside = loaded.warning.empty() ? recordSetAside_ : loaded.warning;
    if (setAside == recordSetAside_ && loaded.error == recordProblem_) {
        return;
    }
    for (const std::string& line : {loaded.warning, loaded.error}) {
        if (!line.empty()) {
            std::cerr << "treadkey-setup: warning: " << line << std::endl;
        }
    }
    recordSetAside_ = setAside;
    recordProblem_ = loaded.error;
    ShowStatusTooltip();
}

void USB::AddResultLine(const QString& text) {
    lstResults->addItem(FormatResultLine(QDateTime::currentDateTime(), QLocale(), text));
    lstResults->setCurrentRow(lstResults->count() - 1);
    lstResults->scrollToItem(lstResults->currentItem());
}

void USB::Clear_Click() {
    lstResults->clear();
}

void USB::TextIW_Change() {
    // Each removal below changes the text again; the loop does the rounds that re-entry would do.
    if (filteringCommandText_) {
        return;
    }
    filteringCommandText_ = true;
    std::u32string text = TextIW->text().toStdU32String();
    while (std::optional<HexFilterStep> step = NextHexFilterStep(text)) {
        boxes_.ShowMessage(Utf8(kNotHexMessage), QCoreApplication::applicationName());
        text = std::move(step->remaining);
        TextIW->setText(QString::fromStdU32String(text));
    }
    filteringCommandText_ = false;
}

void USB::Iwrite_Click() {
    const bool written = SendCommandText();
    AddResultLine(written ? Utf8(kWrittenDataPrefix) + TextIW->text() : Utf8(kWriteFailedLine));
}

void USB::SendPlaybackWord(bool autoRunOn, bool loopPlayback) {
    TextIW->setText(Utf8(PlaybackFrame(autoRunOn, loopPlayback)));
    SendCommandText();
}

void USB::Option1_Click() {
    SendPlaybackWord(Command_auto_run->IsGreen(), false);
    AddResultLine(Utf8(kSinglePlaybackLine));
}

void USB::Option2_Click() {
    SendPlaybackWord(Command_auto_run->IsGreen(), true);
    AddResultLine(Utf8(kLoopPlaybackLine));
}

void USB::Command_auto_run_Click() {
    const bool switchOn = !Command_auto_run->IsGreen();
    Command_auto_run->SetBackColor(switchOn ? GraphicalButton::kGreen : GraphicalButton::kButtonFace);
    // The log line records the user's choice and comes before the send.
    AddResultLine(Utf8(switchOn ? kAutoRunOnLine : kAutoRunOffLine));
    SendPlaybackWord(switchOn, Option2->isChecked());
}

USB::DelaySetting USB::ReadDelay() const {
    const double reading = ReadLeadingNumber(Text_delay->text().toStdString());
    const double delay = RoundHalfEven(reading);
    return {delay, reading > 0 ? Utf8(KeyDelayLogLine(IsChinese != 0, delay)) : QString()};
}

bool USB::SendFrames(const FrameSequence& frames) {
    bool allWritten = true;
    for (const PacedFrame& frame : frames) {
        if (frame.pauseBefore.count() > 0) {
            ui_.Sleep(static_cast<int>(frame.pauseBefore.count()));
        }
        TextIW->setText(Utf8(frame.text));
        allWritten = SendCommandText() && allWritten;
    }
    return allWritten;
}

void USB::Command2_Click() {
    if (!link_.DeviceDetected && !link_.ConnectedOnce) {
        AddResultLine(Utf8(kNeverConnectedLine));
        return;
    }
    const DelaySetting delay = ReadDelay();
    if (!SendFrames(DelaySettingsSequence(delay.value, Check_once->isChecked()))) {
        AddResultLine(Utf8(kWriteFailedLine));
    } else if (!delay.logLine.isEmpty()) {
        AddResultLine(delay.logLine);
    }
}

void USB::Text_delay_Change() {
    if (ReadLeadingNumber(Text_delay->text().toStdString()) > 65535) {
        Text_delay->setText(QStringLiteral("65535"));
    }
}

void USB::Command1_Click() {
    TextIW->setText(QStringLiteral("aa 00 ff ff ff ff"));
    if (!boxes_.AskOkCancel(Utf8(kClearAllQuestion), Utf8(kClearAllTitle))) {
        return;
    }
    Combo1->setEditText(QStringLiteral("0"));
    AddResultLine(SendFrames(ClearAllSequence()) ? Utf8(kClearedAllLine) : Utf8(kWriteFailedLine));
}

void USB::ToggleModifier(GraphicalButton* toggle) {
    toggle->Toggle();
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
    TextIW->setText(Utf8(KeyFrame(Combo1->currentText().toStdString(), ModifierByte, CurrentCode)));
}

void USB::Command_key_Click(int Index) {
    if (!link_.DeviceDetected && !link_.ConnectedOnce) {
        AddResultLine(Utf8(kWriteFailedLine));
        return;
    }
    const std::optional<std::string_view> code = KeyCodes.At(Index);
    if (!code || Index >= kKeyButtonCount) {
        return;
    }
    CurrentCode = ReadLeadingNumber(*code);
    ComposeKeyCommand();
    const DelaySetting delay = ReadDelay();
    const bool written = SendFrames(KeyAssignmentSequence(Combo1->currentText().toStdString(), ModifierByte,
                                                          CurrentCode, delay.value, Check_once->isChecked()));
    // The key and its two settings frames are one assignment: it is logged as done only when all three went.
    if (!written) {
        AddResultLine(Utf8(kWriteFailedLine));
        return;
    }
    if (!delay.logLine.isEmpty()) {
        AddResultLine(delay.logLine);
    }
    const QString caption = Command_key[static_cast<std::size_t>(Index)]->text();
    AddResultLine(Utf8(KeyLogLine(IsChinese != 0, ModifierByte, caption.toStdString(),
                                  Combo1->currentText().toStdString())));
}

void USB::ComposeMouseCommand() {
    TextIW->setText(Utf8(MouseFrame(Combo1->currentText().toStdString(), CurrentCode)));
}

void USB::MouseButton_Click(std::size_t buttonIndex) {
    CurrentCode = kMouseButtons[buttonIndex].code;
    ComposeMouseCommand();
    const bool written = SendCommandText();
    AddResultLine(written
                      ? Utf8(MouseLogLine(IsChinese != 0, buttonIndex, Combo1->currentText().toStdString()))
                      : Utf8(kWriteFailedLine));
}

void USB::Command3_Click() {
    const bool toChinese = IsChinese == 0;
    IsChinese = toChinese ? 1 : 0;
    for (const SwitchableCaption& caption : kSwitchableCaptions) {
        SetCaption(findChild<QWidget*>(Utf8(caption.control)),
                   Utf8(toChinese ? caption.chinese : caption.english));
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
    for (QPushButton* key : Command_key) {
        key->setEnabled(enabled);
    }
    for (QWidget* button : writeButtonsAfterKeys_) {
        button->setEnabled(enabled);
    }
}

} // namespace treadkey
