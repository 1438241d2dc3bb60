#pragma once

namespace cocos2d {

// Intrusive reference counting. A Ref is born with a count of 1; release() at 0 runs the virtual
// destructor. Objects from create() are autoreleased: the pool drops that first reference at the end
// of the frame, so whoever wants to keep one (a parent, the action manager, a cache) retains it.
class Ref {
public:
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    virtual ~Ref();

    void retain();
    void release();
    // Hands the creation reference to the current autorelease pool; returns this.
    Ref* autorelease();
    unsigned int getReferenceCount() const { return _referenceCount; }

protected:
    Ref() = default;

private:
    unsigned int _referenceCount = 1;
};

}  // namespace cocos2d
