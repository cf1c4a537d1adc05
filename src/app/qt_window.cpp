#include "app/qt_window.h"

#include "app/caption_button.h"
#include "app/caption_label.h"
#include "app/etched_frame.h"
#include "app/form/utf32_text.h"
#include "app/form/window_wording.h"
#include "app/graphical_button.h"
#include "app/result_line.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTimer>
#include <cmath>
#include <limits>

namespace treadkey {

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A lone surrogate of the box's UTF-16 becomes U+FFFD, as the window reads any broken text; Qt's own UTF-8
// would make it '?', a character the user did not type.
std::string TypedText(const QString& text) {
    const QList<uint> characters = text.toUcs4();
    return Utf8Of(std::u32string_view(reinterpret_cast<const char32_t*>(characters.constData()),
                                      static_cast<std::size_t>(characters.size())));
}

QRect Pixels(TwipRect r) {
    const auto px = [](int twips) { return static_cast<int>(std::lround(twips / double(kTwipsPerPixel))); };
    return {px(r.left), px(r.top), px(r.width), px(r.height)};
}

// Given as HTML of the plain text where Qt would read the text as HTML: a key name such as "< A >" would
// otherwise be taken for a tag and dropped.
QString ToolTipOf(const std::string& text) {
    const QString plain = Utf8(text);
    return Qt::mightBeRichText(plain) ? Qt::convertFromPlainText(plain, Qt::WhiteSpaceNormal) : plain;
}

} // namespace

QtWindow::QtWindow(HidBackend& backend, UiServices& ui, const QStringList& fontFamilies)
    : ui_(ui),
      form_(backend, *this, {[&ui] { return ui.LookAtSystem(); }, [&ui] { return ui.StateDirectory(); }}),
      keystrokes_([this] { return form_.PedalIsTyping(); }) {
    QCoreApplication::instance()->installEventFilter(&keystrokes_);
    setWindowTitle(Utf8(kWindowTitle));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Pixels(kClientArea).size());
    QStringList chineseCaptions;
    for (std::string_view caption : CaptionTexts(true)) {
        chineseCaptions << Utf8(caption);
    }
    const QString family = FirstFamilyDrawing(fontFamilies, chineseCaptions);
    fontFamilies_ = family.isEmpty() ? fontFamilies : QStringList{family};
    if (family.isEmpty()) {
        form_.StartInEnglish(NoChineseFontNote(fontFamilies.join(QStringLiteral(", ")).toStdString()));
    }
    setFont(WindowFont(fontFamilies_, kWindowFont.points, QFont::Normal));
    for (Control& control : form_.Controls()) {
        const ControlSpec& spec = control.spec;
        QWidget* container = spec.container.empty() ? this : widgets_[Index(*FindControl(spec.container))];
        QWidget* widget = MakeWidget(spec, container);
        widgets_.push_back(widget);
        ForwardEvents(control, widget);
    }
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, [this] { form_.Timer1_Timer(); });
    SetTabOrder();
}

std::size_t QtWindow::Index(const ControlSpec& spec) {
    return static_cast<std::size_t>(&spec - ControlTable().data());
}

QWidget* QtWindow::MakeWidget(const ControlSpec& spec, QWidget* container) {
    const QString caption = Utf8(spec.caption);
    QWidget* widget = nullptr;
    switch (spec.kind) {
    case ControlKind::Label:
        widget = new CaptionLabel(caption, container);
        break;
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(container);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(caption);
        widget = combo;
        break;
    }
    case ControlKind::TextBox: {
        auto* box = new QLineEdit(caption, container);
        // A pasted text is handled whole, never cut at the line edit's default limit.
        box->setMaxLength(std::numeric_limits<int>::max());
        widget = box;
        break;
    }
    case ControlKind::CheckBox:
        widget = new QCheckBox(caption, container);
        break;
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(caption, container);
        option->setChecked(spec.value);
        widget = option;
        break;
    }
    case ControlKind::Frame:
        widget = new EtchedFrame(caption, container);
        break;
    case ControlKind::PushButton:
        widget = new CaptionButton(caption, container);
        break;
    case ControlKind::GraphicalButton:
        widget = new GraphicalButton(caption, container);
        break;
    case ControlKind::ListBox:
        widget = new QListWidget(container);
        break;
    }
    widget->setObjectName(Utf8(spec.name));
    widget->setGeometry(Pixels(spec.place));
    auto* label = qobject_cast<CaptionLabel*>(widget);
    if (label != nullptr) {
        // Labels size themselves to their caption, up to the control at their right.
        label->SetRoom(Pixels({spec.place.left, 0, spec.roomEnd - spec.place.left, 0}).width());
        label->adjustSize();
    }
    if (spec.font) {
        QStringList families = fontFamilies_;
        if (!spec.font->family.empty() && spec.font->family != kWindowFont.family) {
            families.prepend(Utf8(spec.font->family));
        }
        widget->setFont(
            WindowFont(families, spec.font->points, spec.font->bold ? QFont::Bold : QFont::Normal));
        // Sized in its own font only when shown: a hidden label would load a face, a bold one say, never
        // drawn.
        if (label != nullptr && spec.visible) {
            label->adjustSize();
        }
    }
    widget->setEnabled(spec.enabled);
    if (!spec.visible) {
        widget->setVisible(false);
    }
    return widget;
}

void QtWindow::ForwardEvents(Control& control, QWidget* widget) {
    if (auto* checkBox = qobject_cast<QCheckBox*>(widget)) {
        // Checked by a click, a key or a program alike: each turns the window's value over once.
        connect(checkBox, &QCheckBox::toggled, this, [this, &control](bool checked) {
            if (control.value != checked) {
                form_.Click(control);
            }
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, &control] { form_.Click(control); });
    } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        connect(box, &QLineEdit::textChanged, this,
                [this, &control](const QString& text) { form_.TextEdited(control, TypedText(text)); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::editTextChanged, this,
                [this, &control](const QString& text) { form_.TextEdited(control, TypedText(text)); });
    }
}

void QtWindow::SetTabOrder() {
    std::vector<std::pair<int, QWidget*>> chain;
    for (const ControlSpec& spec : ControlTable()) {
        if (spec.tabIndex >= 0) {
            chain.emplace_back(spec.tabIndex, widgets_[Index(spec)]);
        }
    }
    std::sort(chain.begin(), chain.end());
    for (std::size_t i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1].second, chain[i].second);
    }
}

void QtWindow::Show(const Control& control, ControlProperty changed) {
    QWidget* widget = widgets_[Index(control.spec)];
    // What the window's behaviour sets is no edit of the user's: it must not come back as one.
    const QSignalBlocker quiet(widget);
    const QString text = Utf8(control.text);
    switch (changed) {
    case ControlProperty::Text:
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(text);
            label->adjustSize();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(text);
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            frame->setTitle(text);
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            box->setText(text);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            combo->setEditText(text);
        }
        break;
    case ControlProperty::Enabled:
        widget->setEnabled(control.enabled);
        break;
    case ControlProperty::Visible:
        widget->setVisible(control.visible);
        break;
    case ControlProperty::BackColor:
        if (auto* button = qobject_cast<GraphicalButton*>(widget)) {
            button->SetBackColor(control.backColor);
        }
        break;
    case ControlProperty::Value:
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setChecked(control.value);
        }
        break;
    case ControlProperty::ToolTip:
        widget->setToolTip(ToolTipOf(control.toolTip));
        break;
    case ControlProperty::Items:
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            combo->clear();
            for (const std::string& item : control.items) {
                combo->addItem(Utf8(item));
            }
            // Filling the list selects its first item; the box shows its own text with no item chosen.
            combo->setCurrentIndex(-1);
            combo->setEditText(text);
        }
        break;
    }
}

void QtWindow::ShowWindow() {
    if (const QScreen* display = screen()) {
        move(display->availableGeometry().center() - rect().center());
    }
    show();
}

void QtWindow::CloseWindow() {
    close();
}

bool QtWindow::IsActive() const {
    for (const QWidget* window = QApplication::activeWindow(); window != nullptr;
         window = window->parentWidget()) {
        if (window == this) {
            return true;
        }
    }
    return false;
}

void QtWindow::AddResultLine(const std::string& line) {
    auto* list = Find<QListWidget>("lstResults");
    list->addItem(Utf8(line));
    list->setCurrentRow(list->count() - 1);
    list->scrollToItem(list->currentItem());
}

void QtWindow::ClearResultLines() {
    Find<QListWidget>("lstResults")->clear();
}

std::string QtWindow::TimeStamp() {
    return ResultTimeStamp(QDateTime::currentDateTime(), QLocale()).toStdString();
}

void QtWindow::StartTimer(int milliseconds) {
    Timer1->start(milliseconds);
}

void QtWindow::StopTimer() {
    Timer1->stop();
}

void QtWindow::ShowMessage(const std::string& text, const std::string& title) {
    ui_.ShowMessage(Utf8(text), Utf8(title));
}

bool QtWindow::AskOkCancel(const std::string& text, const std::string& title) {
    return ui_.AskOkCancel(Utf8(text), Utf8(title));
}

void QtWindow::Pause(int milliseconds) {
    ui_.Sleep(milliseconds);
}

void QtWindow::Post(std::function<void()> work) {
    QTimer::singleShot(0, this, std::move(work));
}

void QtWindow::closeEvent(QCloseEvent* event) {
    if (form_.CloseRequested()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void QtWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        form_.ActivationChanged();
    }
    QWidget::changeEvent(event);
}

} // namespace treadkey
