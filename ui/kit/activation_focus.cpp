#include "ui/kit/activation_focus.h"

#include <QEvent>

ActivationFocus::ActivationFocus(QWidget* window, QWidget* first) : QObject(window), first_(first) {
    window->installEventFilter(this);
}

bool ActivationFocus::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Show) next_ = nullptr;  // a new run starts at the first field
    if (event->type() == QEvent::WindowActivate) {
        QWidget* target = next_ ? next_.data() : first_.data();
        next_ = nullptr;
        if (target) target->setFocus();
    }
    return false;
}
