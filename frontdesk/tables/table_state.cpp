#include "frontdesk/tables/table_state.h"

namespace sorrel::tables {

int stateIndex(const QString& state) {
    if (state.size() != 1) return -1;
    const int at = state.at(0).unicode() - '1';
    return at >= 0 && at < 6 ? at : -1;
}

const QStringList& stateNames() {
    static const QStringList names{QStringLiteral("空闲"), QStringLiteral("使用"), QStringLiteral("结帐"),
                                   QStringLiteral("加单"), QStringLiteral("预订"), QStringLiteral("禁用")};
    return names;
}

QString stateActionCaption(StateAction action) {
    switch (action) {
    case StateAction::Open:
        return QStringLiteral("开台");
    case StateAction::Disable:
        return QStringLiteral("禁用");
    case StateAction::Enable:
        return QStringLiteral("启用");
    case StateAction::Book:
        return QStringLiteral("预订");
    case StateAction::ReverseSettle:
        return QStringLiteral("反结");
    }
    return {};
}

QList<StateAction> stateMenu(const QString& state) {
    using namespace TableState;
    QList<StateAction> items;
    if (state == kFree || state == kBooked) items << StateAction::Open;
    if (state == kFree) items << StateAction::Disable;
    if (state == kDisabled) items << StateAction::Enable;
    if (state == kFree || state == kInUse || state == kReopened || state == kBooked)
        items << StateAction::Book;
    if (state == kFree) items << StateAction::ReverseSettle;
    return items;
}

TableChoice choiceFor(const QString& state) {
    using namespace TableState;
    if (state == kFree || state == kBooked) return TableChoice::Register;
    if (state == kInUse || state == kReopened) return TableChoice::Continue;
    if (state == kSettled) return TableChoice::ShowSettled;
    return TableChoice::Nothing;
}

} // namespace sorrel::tables
