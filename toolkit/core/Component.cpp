#include "Component.h"

#include <algorithm>

namespace qs {

const TClassInfo& TPersistent::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent", &TObject::StaticClassInfo()).build();
    return info;
}

const TClassInfo& TComponent::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TComponent>("TComponent", &TPersistent::StaticClassInfo())
            .string("Name", &TComponent::Name, &TComponent::SetName)
            .integer("Tag", [](const TComponent& c) { return int64_t(c.Tag()); },
                     [](TComponent& c, int64_t v) { c.SetTag(intptr_t(v)); })
            .build();
    return info;
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    FComponentState |= csDestroying;
    // Those who asked are told first, while this object is still whole.
    auto notifies = std::move(FFreeNotifies);
    for (TComponent* c : notifies) {
        c->RemoveFreeNotification(this);
        c->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    // Last created first: later components may refer to earlier ones.
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        RemoveComponent(c);
        delete c;
    }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (TClassBuilder<TObject>::equalsNoCase(c->FName, name)) return c;
    return nullptr;
}

void TComponent::SetDesigning(bool on) {
    if (on)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~uint32_t(csDesigning);
    for (TComponent* c : FComponents) c->SetDesigning(on);
}

void TComponent::InsertComponent(TComponent* c) {
    if (!c || c->FOwner == this) return;
    if (c->FOwner) c->FOwner->RemoveComponent(c);
    c->FOwner = this;
    FComponents.push_back(c);
    Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    auto it = std::find(FComponents.begin(), FComponents.end(), c);
    if (it == FComponents.end()) return;
    Notification(c, TOperation::opRemove);
    FComponents.erase(std::find(FComponents.begin(), FComponents.end(), c));
    c->FOwner = nullptr;
}

void TComponent::Loaded() { FComponentState &= ~uint32_t(csLoading | csReading); }

void TComponent::FreeNotification(TComponent* c) {
    if (!c || c == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), c) == FFreeNotifies.end()) FFreeNotifies.push_back(c);
    if (std::find(c->FFreeNotifies.begin(), c->FFreeNotifies.end(), this) == c->FFreeNotifies.end())
        c->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), c), FFreeNotifies.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::DefineMethod(const std::string& name, std::any handler) {
    for (auto& m : FMethods)
        if (TClassBuilder<TObject>::equalsNoCase(m.first, name)) {
            m.second = std::move(handler);
            return;
        }
    FMethods.emplace_back(name, std::move(handler));
}

const std::any* TComponent::FindMethod(std::string_view name) const {
    for (auto& m : FMethods)
        if (TClassBuilder<TObject>::equalsNoCase(m.first, name)) return &m.second;
    return nullptr;
}

const TClassInfo& TCollectionItem::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCollectionItem>("TCollectionItem", &TPersistent::StaticClassInfo()).build();
    return info;
}

int TCollectionItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }
void TCollectionItem::Changed() {
    if (FCollection) FCollection->Update(this);
}

const TClassInfo& TCollection::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCollection>("TCollection", &TPersistent::StaticClassInfo()).build();
    return info;
}

TCollectionItem* TCollection::AddItem(TCollectionItem* item) {
    FItems.push_back(item);
    Update(nullptr);
    return item;
}

void TCollection::Clear() {
    auto items = std::move(FItems);
    FItems.clear();
    for (auto* i : items) delete i;
    Update(nullptr);
}

void TCollection::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    TCollectionItem* item = FItems[size_t(i)];
    FItems.erase(FItems.begin() + i);
    delete item;
    Update(nullptr);
}

int TCollection::IndexOf(const TCollectionItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

}  // namespace qs
