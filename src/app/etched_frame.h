#pragma once

#include <QGroupBox>

namespace treadkey {

// A frame drawn as the window's design draws frames: an etched border round the whole frame, the caption set
// into its top line. Children keep their places from the frame's top-left corner and lie inside the border.
class EtchedFrame : public QGroupBox {
    Q_OBJECT

public:
    EtchedFrame(const QString& caption, QWidget* parent);

    // Where the top line of the border runs: through the middle of the caption, or along the top edge when
    // there is none.
    int BorderTop() const;
    // The area the caption covers, in the frame's coordinates; empty without a caption.
    QRect CaptionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace treadkey
