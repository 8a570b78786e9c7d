// The group boxes of the main window, drawn the way the controls placed in
// them expect: the frame's top edge runs through the middle of the title
// line, and a title sits on that edge a few pixels from the left, breaking
// it. Whether or not a box has a title, its frame and its controls keep the
// same distance.
#pragma once

#include <QGroupBox>

class GroupBox : public QGroupBox {
    Q_OBJECT
public:
    GroupBox(const QString& title, QWidget* parent);

    // Where the frame's top edge runs, and where the title is drawn (empty
    // without a title), in the box's coordinates.
    int frameTop() const;
    QRect titleRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
