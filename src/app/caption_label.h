#pragma once

#include <QFont>
#include <QLabel>

namespace treadkey {

// A label sized to its caption, as the window's labels are, that never runs under the control at its right:
// a caption wider than the room up to that control is drawn smaller, half a point at a time, until it ends
// before it. text() and font() stay the caption's own: only the drawing shrinks it.
class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    CaptionLabel(const QString& caption, QWidget* parent);

    // The width the caption may take from the label's left edge; unlimited until set.
    void SetRoom(int width);
    // The font the caption is drawn in.
    QFont CaptionFont() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int room_ = QWIDGETSIZE_MAX;
};

} // namespace treadkey
