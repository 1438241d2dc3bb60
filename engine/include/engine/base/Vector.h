#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <vector>

namespace cocos2d {

// An ordered list of Ref pointers that retains its elements while they are in it.
template <typename T>
class Vector {
public:
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;
    using reverse_iterator = typename std::vector<T>::reverse_iterator;
    using const_reverse_iterator = typename std::vector<T>::const_reverse_iterator;

    Vector() = default;
    Vector(std::initializer_list<T> items) {
        for (T item : items) {
            pushBack(item);
        }
    }
    Vector(const Vector& other) : _data(other._data) { retainAll(); }
    Vector(Vector&& other) noexcept : _data(std::move(other._data)) { other._data.clear(); }
    ~Vector() { clear(); }

    Vector& operator=(const Vector& other) {
        if (this != &other) {
            Vector copy(other);
            swap(copy);
        }
        return *this;
    }
    Vector& operator=(Vector&& other) noexcept {
        if (this != &other) {
            clear();
            _data = std::move(other._data);
            other._data.clear();
        }
        return *this;
    }

    void swap(Vector& other) noexcept { _data.swap(other._data); }

    iterator begin() { return _data.begin(); }
    iterator end() { return _data.end(); }
    const_iterator begin() const { return _data.begin(); }
    const_iterator end() const { return _data.end(); }
    const_iterator cbegin() const { return _data.cbegin(); }
    const_iterator cend() const { return _data.cend(); }
    reverse_iterator rbegin() { return _data.rbegin(); }
    reverse_iterator rend() { return _data.rend(); }
    const_reverse_iterator rbegin() const { return _data.rbegin(); }
    const_reverse_iterator rend() const { return _data.rend(); }

    size_t size() const { return _data.size(); }
    bool empty() const { return _data.empty(); }
    void reserve(size_t n) { _data.reserve(n); }
    size_t capacity() const { return _data.capacity(); }

    // Index of the first occurrence, or -1.
    long getIndex(T object) const {
        auto it = std::find(_data.begin(), _data.end(), object);
        return it == _data.end() ? -1 : static_cast<long>(it - _data.begin());
    }
    T at(size_t index) const { return _data.at(index); }
    T front() const { return _data.front(); }
    T back() const { return _data.back(); }
    bool contains(T object) const { return std::find(_data.begin(), _data.end(), object) != _data.end(); }

    void pushBack(T object) {
        if (object) {
            object->retain();
        }
        _data.push_back(object);
    }
    void pushBack(const Vector& other) {
        for (T item : other._data) {
            pushBack(item);
        }
    }
    void insert(size_t index, T object) {
        if (object) {
            object->retain();
        }
        _data.insert(_data.begin() + static_cast<long>(index), object);
    }
    void popBack() {
        if (!_data.empty()) {
            T last = _data.back();
            _data.pop_back();
            if (last) {
                last->release();
            }
        }
    }
    // Removes the first occurrence (or every one), releasing it.
    void eraseObject(T object, bool removeAll = false) {
        for (auto it = _data.begin(); it != _data.end();) {
            if (*it == object) {
                it = _data.erase(it);
                if (object) {
                    object->release();
                }
                if (!removeAll) {
                    return;
                }
            } else {
                ++it;
            }
        }
    }
    iterator erase(iterator position) {
        T object = *position;
        auto next = _data.erase(position);
        if (object) {
            object->release();
        }
        return next;
    }
    void erase(size_t index) { erase(_data.begin() + static_cast<long>(index)); }
    void replace(size_t index, T object) {
        if (object) {
            object->retain();
        }
        T old = _data.at(index);
        _data[index] = object;
        if (old) {
            old->release();
        }
    }
    void clear() {
        std::vector<T> old;
        old.swap(_data);
        for (T item : old) {
            if (item) {
                item->release();
            }
        }
    }

    // Read access to the underlying list (for sorting in place by the owner).
    std::vector<T>& data() { return _data; }
    const std::vector<T>& data() const { return _data; }

private:
    void retainAll() {
        for (T item : _data) {
            if (item) {
                item->retain();
            }
        }
    }

    std::vector<T> _data;
};

}  // namespace cocos2d
