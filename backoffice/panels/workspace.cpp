#include "backoffice/panels/workspace.h"

namespace sorrel::panels {

std::function<void()> rereading(QList<lists::MaintenanceList*> lists) {
    return [lists] {
        for (lists::MaintenanceList* list : lists)
            list->reload();
    };
}

Workspace::Workspace(LoginSession& session, QObject* parent) : QObject(parent), session_(session) {}

void Workspace::registerPanel(const QString& name, PanelEntry entry) {
    panels_.insert(name, std::move(entry));
}

void Workspace::setQuery(const QString& name, std::function<void()> query) {
    panels_[name].query = std::move(query);
}

void Workspace::loggedIn() {
    toolbarEnabled_ = true;
    emit changed();
}

bool Workspace::permitted(const QString& permission) {
    if (permission.isEmpty() || session_.limite(permission)) return true;
    refuse();
    return false;
}

void Workspace::refuse() {
    workAreaVisible_ = false;
    toolbarEnabled_ = false;
    current_ = nullptr;
    emit changed();
}

void Workspace::leaveCurrent() {
    if (const PanelEntry* e = shownEntry(); e && e->retreat) {
        detailOf_.clear();
        e->retreat();
        return;
    }
    lists::MaintenanceList* list = current_;
    if (!list) return;
    if (!detailOf_.isEmpty()) {
        detailOf_.clear();
        if (list->definition().leaveStep) {
            list->definition().leaveStep();
            return;
        }
    }
    // A record the manager left half-done is dropped rather than kept from the next panel.
    if (list->hasPending() && !list->save()) list->cancel();
}

void Workspace::show(const QString& panel) {
    panel_ = panel;
    const auto it = panels_.constFind(panel);
    current_ = it == panels_.constEnd() ? nullptr : it->list;
    if (it != panels_.constEnd() && it->open) it->open();
}

void Workspace::runMenu(const QString& caption) {
    const MenuCommand* command = findMenuCommand(caption);
    if (!command) return;
    workAreaVisible_ = true;
    toolbarEnabled_ = true;
    if (command->checkedFirst && !permitted(command->permission)) return;
    leaveCurrent();
    tree_ = command->tree;
    treeNode_ = command->leaf;
    buttons_ = command->buttons;
    show(command->leaf);
    emit changed();
    if (!command->checkedFirst) permitted(command->permission);
}

void Workspace::clickTree(Tree tree, const QString& caption) {
    const Leaf* leaf = findLeaf(tree, caption);
    if (!leaf) return;
    tree_ = tree;
    treeNode_ = caption;
    buttons_ = leaf->buttons;
    leaveCurrent();
    if (!permitted(leaf->permission)) return;
    workAreaVisible_ = true;
    toolbarEnabled_ = true;
    show(caption);
    emit changed();
}

void Workspace::enterDetail(const QString& panel, lists::MaintenanceList& list, ToolButtons buttons) {
    detailOf_ = panel_;
    detailBackList_ = current_;
    detailBackButtons_ = buttons_;
    panel_ = panel;
    current_ = &list;
    buttons_ = buttons;
    emit changed();
}

void Workspace::retreat() {
    if (detailOf_.isEmpty()) return;
    if (const PanelEntry* e = shownEntry(); e && e->retreat) {
        e->retreat();
        returnFromDetail();
        return;
    }
    if (!current_) return;
    lists::MaintenanceList* list = current_;
    if (!list->definition().leaveStep && !list->saveIfPending()) return;
    if (list->definition().leaveStep) list->definition().leaveStep();
    returnFromDetail();
}

void Workspace::returnFromDetail() {
    if (detailOf_.isEmpty()) return;
    panel_ = detailOf_;
    detailOf_.clear();
    buttons_ = detailBackButtons_;
    current_ = detailBackList_;
    emit changed();
}

void Workspace::execute() {
    if (const PanelEntry* e = shownEntry(); e && e->execute) e->execute();
}

void Workspace::stockAdjust() {
    if (stockAdjust_) stockAdjust_();
}

bool Workspace::enterMovesFocus() const {
    const PanelEntry* e = shownEntry();
    return !e || e->enterMovesFocus;
}

void Workspace::add() {
    if (!current_) return;
    if (!(current_->isEmpty() && !current_->hasPending()) && !current_->save()) return;
    current_->append();
}

bool Workspace::mayRemove() const {
    if (const PanelEntry* e = shownEntry(); e && e->remove) return true;
    return current_ && !current_->isEmpty();
}

void Workspace::remove() {
    if (const PanelEntry* e = shownEntry(); e && e->remove) {
        e->remove();
        return;
    }
    if (mayRemove()) current_->remove();
}

const PanelEntry* Workspace::shownEntry() const {
    const auto it = panels_.constFind(panel_);
    return it == panels_.constEnd() ? nullptr : &*it;
}

void Workspace::cancel() {
    if (current_) {
        current_->cancel();
    } else if (const PanelEntry* entry = shownEntry(); entry && entry->cancel) {
        entry->cancel();
    }
}

void Workspace::save() {
    if (const PanelEntry* e = shownEntry(); e && e->save) {
        e->save();
        return;
    }
    if (!current_ || (current_->isEmpty() && !current_->hasPending())) return;
    if (!current_->save()) return;
    // Re-read as another workstation left it, the saved record still current: the next top-up
    // or edit is meant for it.
    current_->reload();
}

void Workspace::query() {
    if (const PanelEntry* entry = shownEntry(); entry && entry->query) entry->query();
}

void Workspace::closing(const std::function<void()>& leftCurrent) {
    // A forced close follows a failed step: what was being edited is dropped, never saved after
    // the step's own changes were rolled back.
    if (exitMode_ == ExitMode::Forced) {
        if (current_) current_->cancel();
    } else if (current_ && !current_->isEmpty()) {
        leaveCurrent();
    }
    if (leftCurrent) leftCurrent();
    session_.logExit();
}

} // namespace sorrel::panels
