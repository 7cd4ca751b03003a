#include "ui/Component.h"

#include <algorithm>

namespace qv {

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    BeginDestruction();
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    std::erase(components_, component);
    component->owner_ = nullptr;
    Notification(component, opRemove);
}

void TComponent::FreeNotification(TComponent* target) {
    if (!target || target == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), target) == freeNotifies_.end()) {
        freeNotifies_.push_back(target);
    }
    if (std::find(target->freeNotifies_.begin(), target->freeNotifies_.end(), this) ==
        target->freeNotifies_.end()) {
        target->freeNotifies_.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* target) {
    if (!target) return;
    std::erase(freeNotifies_, target);
    std::erase(target->freeNotifies_, this);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::BeginDestruction() {
    if (destroying_) return;
    destroying_ = true;
    // Each party forgets the other before being told, so a reaction cannot come back here.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        std::erase(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last;  // its destructor removes it from components_
    }
}

}  // namespace qv
