#include "ui/command_router.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QEvent>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <map>

#include "platform/main_command.h"

namespace {

// Ranges keyed by their first id; ranges never overlap.
struct Range {
    int last;
    CommandHandler handler;
};
std::map<int, Range> handlers;

const Range* findRange(int id) {
    auto it = handlers.upper_bound(id);
    if (it == handlers.begin()) return nullptr;
    --it;
    return id <= it->second.last ? &it->second : nullptr;
}

bool overlaps(int first, int last) {
    if (findRange(first)) return true;
    auto it = handlers.lower_bound(first);
    return it != handlers.end() && it->first <= last;
}

// An owned combo box whose list has just closed: Qt has no signal for it.
class CloseUpCombo : public QObject {
public:
    CloseUpCombo(QComboBox* combo, int id) : QObject(combo), id_(id) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) dispatchCommand(id_, CBN_CLOSEUP);
        return QObject::eventFilter(watched, event);
    }

private:
    int id_;
};

void routeMainCommand(int id, int code) { dispatchCommand(id, code); }

} // namespace

bool setCommandHandler(int first, int last, CommandHandler handler) {
    if (last < first || !handler || overlaps(first, last)) return false;
    handlers.emplace(first, Range{last, std::move(handler)});
    return true;
}

bool hasCommandHandler(int id) { return findRange(id) != nullptr; }

bool dispatchCommand(int id, int code) {
    const Range* range = findRange(id);
    if (!range) return false;
    // A copy: the handler may replace the table (a window rebuilt in tests).
    CommandHandler handler = range->handler;
    handler(id, code);
    return true;
}

void clearCommandHandlers() { handlers.clear(); }

void installCommandRouter() { setMainCommandHandler(routeMainCommand); }

void bindCommand(QAbstractButton* button, int id) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [id] { dispatchCommand(id, BN_CLICKED); });
}

void bindCommand(QComboBox* combo, int id) {
    QObject::connect(combo, &QComboBox::activated, combo,
                     [id] { dispatchCommand(id, CBN_SELCHANGE); });
    // The drop-down list is a separate window; its hiding is the close-up.
    combo->view()->window()->installEventFilter(new CloseUpCombo(combo, id));
}

void bindCommand(QLineEdit* edit, int id) {
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [id] { dispatchCommand(id, EN_CHANGE); });
}

void bindCommand(QAction* action, int id) {
    action->setProperty(kCommandIdProperty, id);
    QObject::connect(action, &QAction::triggered, action, [id] { dispatchCommand(id, 0); });
}

QList<QAction*> commandActions(QObject* root, int id) {
    QList<QAction*> found;
    if (!root) return found;
    for (QAction* action : root->findChildren<QAction*>())
        if (action->property(kCommandIdProperty).toInt() == id) found << action;
    return found;
}
