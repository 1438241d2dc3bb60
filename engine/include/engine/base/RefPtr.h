#pragma once

#include <cstddef>
#include <utility>

namespace cocos2d {

// Owning smart pointer over a Ref: retains what it holds, releases on reset or destruction.
// Used for members that must outlive the frame and are not children.
template <typename T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) {}
    RefPtr(T* object) : _ptr(object) { retainPtr(); }
    RefPtr(const RefPtr& other) : _ptr(other._ptr) { retainPtr(); }
    RefPtr(RefPtr&& other) noexcept : _ptr(other._ptr) { other._ptr = nullptr; }
    template <typename U>
    RefPtr(const RefPtr<U>& other) : _ptr(other.get()) {
        retainPtr();
    }
    ~RefPtr() { releasePtr(); }

    RefPtr& operator=(const RefPtr& other) {
        if (other._ptr != _ptr) {
            T* old = _ptr;
            _ptr = other._ptr;
            retainPtr();
            if (old) {
                old->release();
            }
        }
        return *this;
    }
    RefPtr& operator=(RefPtr&& other) noexcept {
        if (this != &other) {
            T* old = _ptr;
            _ptr = other._ptr;
            other._ptr = nullptr;
            if (old) {
                old->release();
            }
        }
        return *this;
    }
    RefPtr& operator=(T* object) {
        reset(object);
        return *this;
    }
    RefPtr& operator=(std::nullptr_t) {
        reset();
        return *this;
    }

    void reset(T* object = nullptr) {
        if (object == _ptr) {
            return;
        }
        T* old = _ptr;
        _ptr = object;
        retainPtr();
        if (old) {
            old->release();
        }
    }

    T* get() const { return _ptr; }
    T* operator->() const { return _ptr; }
    T& operator*() const { return *_ptr; }
    operator T*() const { return _ptr; }
    explicit operator bool() const { return _ptr != nullptr; }

private:
    void retainPtr() {
        if (_ptr) {
            _ptr->retain();
        }
    }
    void releasePtr() {
        if (_ptr) {
            T* old = _ptr;
            _ptr = nullptr;
            old->release();
        }
    }

    T* _ptr = nullptr;
};

template <typename T>
RefPtr<T> makeRef(T* object) {
    return RefPtr<T>(object);
}

}  // namespace cocos2d
