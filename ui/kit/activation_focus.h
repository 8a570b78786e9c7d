// Focus on activation: a dialog whose first field takes the keyboard focus
// each time the dialog becomes the active window, not only when it opens.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class ActivationFocus : public QObject {
public:
    // Watches window's activations; each gives first the focus.
    ActivationFocus(QWidget* window, QWidget* first);

    // The next activation focuses control instead of the first field, once:
    // call it before a message box whose closing gives the window back the
    // activation, so the control named after the box keeps the focus
    // whichever comes first, the activation or the caller's own setFocus.
    void focusOnNextActivation(QWidget* control) { next_ = control; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> first_;
    QPointer<QWidget> next_;
};
