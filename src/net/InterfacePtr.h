// Owning reference to a reference-counted (IUnknown-style) interface: adds a reference when
// copied, releases it when reset or destroyed.
#pragma once

#include <utility>

namespace qv {

template <class T>
class InterfacePtr {
public:
    InterfacePtr() = default;
    // Takes over a reference the caller already owns (as handed out by a creating function).
    static InterfacePtr Adopt(T* p) {
        InterfacePtr ptr;
        ptr.p_ = p;
        return ptr;
    }
    // Adds a reference of its own to an interface the caller only borrows.
    static InterfacePtr Share(T* p) {
        if (p) p->AddRef();
        return Adopt(p);
    }

    InterfacePtr(const InterfacePtr& other) : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    InterfacePtr(InterfacePtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    InterfacePtr& operator=(InterfacePtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~InterfacePtr() { reset(); }

    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

}  // namespace qv
