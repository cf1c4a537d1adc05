#pragma once

#include <QPushButton>
#include <QStringList>

namespace treadkey {

// A push button whose caption wraps at its spaces, centred line under line, when it does not fit the button
// on one line ("Num  Lock" becomes "Num" over "Lock"); a caption that fits stays one line. text() stays the
// caption: only the drawing breaks it.
class CaptionButton : public QPushButton {
    Q_OBJECT

public:
    CaptionButton(const QString& caption, QWidget* parent);

    // The lines the caption is drawn in, for the button's current font and size.
    QStringList CaptionLines() const;
    // The width the caption's lines have to fit in.
    int CaptionWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace treadkey
