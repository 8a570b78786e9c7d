// The caption sample "文字示例" of the caption group: while a caption box is
// checked it shows the chosen caption colours (the text colour on the box
// colour; without a box, on the window colour, or on grey for white text
// that would vanish on a light window); otherwise it is plain on white.
#pragma once

#include <QColor>
#include <QLabel>

class CaptionSample : public QLabel {
    Q_OBJECT
public:
    explicit CaptionSample(QWidget* parent);

    // The colours it paints with now.
    QColor textColor() const;
    QColor backgroundColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
