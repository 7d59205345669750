#pragma once
// Components: objects with an owner that frees them, a name, a tag, and a
// "loaded" step run after a form definition has set their properties.
#include <any>
#include <cstdint>
#include <utility>
#include <string>
#include <vector>

#include "Object.h"

namespace qs {

enum TComponentStateFlag : uint32_t {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csDesigning = 1u << 2,
    csDestroying = 1u << 3,
};

enum class TOperation { opInsert, opRemove };

class TPersistent : public TObject {
    QS_DECLARE_CLASS(TPersistent)
};

class TComponent : public TPersistent {
    QS_DECLARE_CLASS(TComponent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::vector<TComponent*>& Components() const { return FComponents; }
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* FindComponent(std::string_view name) const;

    const std::string& Name() const { return FName; }
    virtual void SetName(const std::string& name) { FName = name; }
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t t) { FTag = t; }

    uint32_t ComponentState() const { return FComponentState; }
    bool IsLoading() const { return FComponentState & csLoading; }
    bool IsDesigning() const { return FComponentState & csDesigning; }
    bool IsDestroying() const { return FComponentState & csDestroying; }
    void SetDesigning(bool on);

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    // Reading a definition: BeginLoading before the first property, then Loaded.
    void BeginLoading() { FComponentState |= csLoading | csReading; }
    virtual void Loaded();

    // Nesting in a form definition: a control becomes the child of the control
    // it is nested in, a menu item joins its menu. Owner stays the root.
    virtual void SetParentComponent(TComponent* parent) {}
    virtual TComponent* GetParentComponent() const { return nullptr; }

    // Handlers a form definition can name (OnClick = N1Click): the root
    // component publishes them by name, each as an std::any holding the
    // std::function type of the event it serves.
    void DefineMethod(const std::string& name, std::any handler);
    const std::any* FindMethod(std::string_view name) const;

    // Ask to be told (Notification opRemove) when `c` is destroyed.
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);

protected:
    // Owners and free-notification subscribers hear of insertions and removals.
    virtual void Notification(TComponent* c, TOperation op);
    // Descendants that destroy their window or handles early hook in here.
    void DestroyComponents();

private:
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::vector<std::pair<std::string, std::any>> FMethods;
    std::string FName;
    intptr_t FTag = 0;
    uint32_t FComponentState = 0;
};

// Items of a collection (status-bar panels, list-view columns): created by the
// collection, which owns and frees them.
class TCollection;
class TCollectionItem : public TPersistent {
    QS_DECLARE_CLASS(TCollectionItem)
public:
    explicit TCollectionItem(TCollection* collection) : FCollection(collection) {}
    TCollection* Collection() const { return FCollection; }
    int Index() const;

protected:
    void Changed();

private:
    TCollection* FCollection;
};

class TCollection : public TPersistent {
    QS_DECLARE_CLASS(TCollection)
public:
    ~TCollection() override { Clear(); }
    virtual TCollectionItem* Add() = 0;
    int Count() const { return int(FItems.size()); }
    TCollectionItem* Item(int i) const { return i >= 0 && i < Count() ? FItems[size_t(i)] : nullptr; }
    void Clear();
    void Delete(int i);
    int IndexOf(const TCollectionItem* item) const;
    // Told when an item changes or the item list does; owners repaint from here.
    virtual void Update(TCollectionItem* item) {}

protected:
    TCollectionItem* AddItem(TCollectionItem* item);

private:
    std::vector<TCollectionItem*> FItems;
};

// A typed collection: TTypedCollection<TStatusPanel> adds TStatusPanel items.
template <class ItemT>
class TTypedCollection : public TCollection {
public:
    TCollectionItem* Add() override { return AddItem(new ItemT(this)); }
    ItemT* At(int i) const { return static_cast<ItemT*>(TCollection::Item(i)); }
};

}  // namespace qs
