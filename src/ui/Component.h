// Ownership of components: a component created with an owner is destroyed by that owner (the
// most recently created first), unless it is destroyed earlier, in which case it leaves the
// owner's list. Components can ask to be told when another component goes away.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qv {

class TComponent;

enum class TOperation { opInsert, opRemove };
using enum TOperation;

using TNotifyEvent = std::function<void(TComponent* sender)>;

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent();

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_[index]; }

    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& name) { name_ = name; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // When this component is destroyed, target->Notification(this, opRemove) is called (and
    // the other way round), so that neither keeps a dangling pointer.
    void FreeNotification(TComponent* target);
    void RemoveFreeNotification(TComponent* target);

    // True once destruction has begun.
    bool Destroying() const { return destroying_; }

protected:
    // Told when a component owned by this one, or one registered with FreeNotification, is
    // inserted or removed. Overrides call the base.
    virtual void Notification(TComponent* component, TOperation operation);

    // Starts destruction: tells the owner and every registered component, once. Destructors of
    // classes whose members notified parties may still use call it first, while the object is
    // whole.
    void BeginDestruction();
    // Destroys the owned components, the most recently created first.
    void DestroyComponents();

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::wstring name_;
    int tag_ = 0;
    bool destroying_ = false;
};

}  // namespace qv
