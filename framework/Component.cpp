#include "framework/Component.h"

#include "framework/Application.h"

#include <algorithm>
#include <cctype>

namespace fw {

void TObject::Dispatch(TMessage& message) {
    DispatchFrom(MessageTable(), message);
}

void TObject::DispatchInherited(const TMessageTable* table, TMessage& message) {
    DispatchFrom(table ? table->Base : nullptr, message);
}

// The first handler for the number in `first` or its base tables, else the default handling.
void TObject::DispatchFrom(const TMessageTable* first, TMessage& message) {
    for (const TMessageTable* table = first; table; table = table->Base)
        for (std::size_t i = 0; i < table->Count; ++i)
            if (table->Entries[i].Msg == message.Msg) {
                (this->*table->Entries[i].Handler)(message);
                return;
            }
    DefaultHandler(message);
}

void TObject::DefaultHandler(TMessage&) {}

TComponent::TComponent(TComponent* owner) {
    if (owner) {
        FApplication = owner->FApplication;
        owner->InsertComponent(this);
    }
}

TComponent::~TComponent() {
    Destroying();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::Free() {
    if (!FBeforeDestructionDone) {
        FBeforeDestructionDone = true;
        BeforeDestruction();
    }
    Destroying();
    delete this;
}

void TComponent::Destroying() {
    if (IsDestroying())
        return;
    FComponentState |= csDestroying;
    if (FAlive)
        *FAlive = false;
    // Observers must forget us before we go; copy since they may unsubscribe meanwhile.
    auto observers = std::move(FFreeNotifies);
    FFreeNotifies.clear();
    for (TComponent* observer : observers) {
        observer->RemoveFreeNotification(this);
        observer->Notification(this, opRemove);
    }
    DestroyComponents();
}

TLifeToken TComponent::LifeToken() {
    if (!FAlive)
        FAlive = std::make_shared<bool>(!IsDestroying());
    TLifeToken token;
    token.FAlive = FAlive;
    return token;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        RaiseListIndexError(index);
    return FComponents[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name))
            return c;
    return nullptr;
}

void TComponent::SetDesigning(bool designing) {
    if (designing)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~unsigned(csDesigning);
    for (TComponent* c : FComponents)
        c->SetDesigning(designing);
}

void TComponent::BeginLoading() {
    FComponentState |= csLoading;
    for (TComponent* c : FComponents)
        c->BeginLoading();
}

void TComponent::EndLoading() {
    for (TComponent* c : FComponents)
        c->EndLoading();
    if (IsLoading())
        Loaded();
}

void TComponent::Loaded() {
    FComponentState &= ~unsigned(csLoading);
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(other);
        other->FreeNotification(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other);
    if (it == FFreeNotifies.end())
        return;
    FFreeNotifies.erase(it);
    other->RemoveFreeNotification(this);
}

IPlatform& TComponent::Platform() const {
    if (!FApplication)
        throw Exception("Component '" + FName + "' belongs to no application");
    return FApplication->Platform();
}

bool TComponent::HasPlatform() const {
    return FApplication != nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove)
        RemoveFreeNotification(component);
    for (TComponent* c : FComponents)
        if (c != component)
            c->Notification(component, operation);
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty())
        FComponents.back()->Free();
}

void TComponent::InsertComponent(TComponent* component) {
    component->FOwner = this;
    if (IsDesigning())
        component->SetDesigning(true);
    FComponents.push_back(component);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it == FComponents.end())
        return;
    FComponents.erase(it);
    component->FOwner = nullptr;
    Notification(component, opRemove);
}

} // namespace fw
