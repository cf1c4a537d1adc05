#pragma once

#include <QFont>
#include <QPushButton>
#include <QStringList>

namespace treadkey {

// A push button whose caption is never cut. A caption that does not fit the button on one line wraps at its
// spaces, centred line under line ("Num  Lock" becomes "Num" over "Lock"); one that still does not fit (a
// single word such as "backspace" in a wide font) is drawn smaller, half a point at a time, until it does.
// text() stays the caption: only the drawing breaks and shrinks it.
class CaptionButton : public QPushButton {
    Q_OBJECT

public:
    CaptionButton(const QString& caption, QWidget* parent);

    // The area inside the bevel that the caption's lines have to fit in.
    QRect CaptionArea() const;
    // The font the caption is drawn in: the button's own, or a smaller one where that does not fit.
    QFont CaptionFont() const;
    // The lines the caption is drawn in, in CaptionFont().
    QStringList CaptionLines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct FittedCaption {
        QFont font;
        QStringList lines;
    };
    FittedCaption Fit() const;
};

} // namespace treadkey
