#pragma once

#include <cstddef>
#include <vector>

namespace cocos2d {

class Ref;

// The one pool of the main thread. The director drains it at the end of every frame, after drawing;
// the test driver after each stepped frame.
class AutoreleasePool {
public:
    static AutoreleasePool* getInstance();

    void addObject(Ref* object);
    // Releases every pooled object once. Objects autoreleased by destructors during the drain are
    // released in the same call.
    void clear();
    bool contains(const Ref* object) const;
    size_t size() const { return _objects.size(); }

private:
    AutoreleasePool() = default;
    std::vector<Ref*> _objects;
};

}  // namespace cocos2d
