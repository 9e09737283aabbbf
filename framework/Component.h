// The object model: message dispatch by number, and components that own and free each other.
#pragma once

#include "framework/Messages.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class IPlatform;
class TApplication;

// Base of every framework object that receives messages.
//
// Each class may declare a message map (FW_DECLARE_MESSAGE_MAP / FW_BEGIN_MESSAGE_MAP):
// Dispatch looks the message number up in the object's class, then in its bases, and calls
// the first handler found; a message no class takes goes to DefaultHandler.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    using THandler = void (TObject::*)(TMessage&);
    struct TMessageEntry {
        std::uint32_t Msg;
        THandler Handler;
    };
    struct TMessageTable {
        const TMessageTable* Base;
        const TMessageEntry* Entries;
        std::size_t Count;
    };

protected:
    static const TMessageTable* StaticMessageTable() { return nullptr; }
    virtual const TMessageTable* MessageTable() const { return nullptr; }
    // Dispatches to the handlers of the base classes of `table` only (what an overriding
    // handler calls to reach the inherited one).
    void DispatchInherited(const TMessageTable* table, TMessage& message);

private:
    void DispatchFrom(const TMessageTable* first, TMessage& message);
};

#define FW_DECLARE_MESSAGE_MAP()                                                                   \
protected:                                                                                         \
    static const ::fw::TObject::TMessageTable* StaticMessageTable();                               \
    const ::fw::TObject::TMessageTable* MessageTable() const override {                            \
        return StaticMessageTable();                                                               \
    }

#define FW_BEGIN_MESSAGE_MAP(ThisClass, BaseClass)                                                 \
    const ::fw::TObject::TMessageTable* ThisClass::StaticMessageTable() {                          \
        using TThis = ThisClass;                                                                   \
        using TBase = BaseClass;                                                                   \
        static const ::fw::TObject::TMessageEntry entries[] = {

#define FW_MESSAGE(number, handler) {number, static_cast<::fw::TObject::THandler>(&TThis::handler)},

#define FW_END_MESSAGE_MAP()                                                                       \
    }                                                                                              \
    ;                                                                                              \
    static const ::fw::TObject::TMessageTable table{TBase::StaticMessageTable(), entries,          \
                                                    sizeof(entries) / sizeof(entries[0])};         \
    return &table;                                                                                 \
    }

enum TOperation { opInsert, opRemove };

// Tells code that raised an event whether the component still exists afterwards: an event
// handler may free the component that raised it.
class TLifeToken {
public:
    bool Alive() const { return FAlive && *FAlive; }
    explicit operator bool() const { return Alive(); }

private:
    friend class TComponent;
    std::shared_ptr<const bool> FAlive;
};

enum TComponentStateFlag : unsigned { csLoading = 1, csDesigning = 2, csDestroying = 4 };
using TComponentState = unsigned;

// A named object with an owner. The owner frees what it owns when it is freed itself, and
// every owned component hears when another one is inserted or removed.
//
// Free components with Free() (or let the owner do it): it runs BeforeDestruction and frees
// the owned components while the object is still whole, which a plain delete cannot do for
// derived classes.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    void Free();

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    TComponent* FindComponent(std::string_view name) const;

    bool IsDesigning() const { return (FComponentState & csDesigning) != 0; }
    bool IsLoading() const { return (FComponentState & csLoading) != 0; }
    bool IsDestroying() const { return (FComponentState & csDestroying) != 0; }
    void SetDesigning(bool designing);
    // Marks the component (and what it owns) as being loaded from a stored layout;
    // EndLoading calls Loaded on each.
    void BeginLoading();
    void EndLoading();

    // `other` hears (Notification opRemove) when this component is freed, even when it does
    // not own it.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Alive until the component starts being destroyed.
    TLifeToken LifeToken();

    // The application this component belongs to (through its owner), or null.
    TApplication* Application() const { return FApplication; }
    IPlatform& Platform() const;
    bool HasPlatform() const;

    int Tag = 0;

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void BeforeDestruction() {}
    virtual void Loaded();
    // Frees every owned component, last inserted first.
    void DestroyComponents();
    void SetApplication(TApplication* application) { FApplication = application; }

private:
    // Tells the observers and frees what this component owns, while it is still whole.
    void Destroying();
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    TComponent* FOwner = nullptr;
    TApplication* FApplication = nullptr;
    std::string FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState = 0;
    bool FBeforeDestructionDone = false;
    std::shared_ptr<bool> FAlive;
};

// For std::unique_ptr of components that are not owned.
struct TComponentDeleter {
    void operator()(TComponent* c) const {
        if (c)
            c->Free();
    }
};
template <class T> using TOwnedPtr = std::unique_ptr<T, TComponentDeleter>;

} // namespace fw
