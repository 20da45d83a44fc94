#pragma once

#include <atomic>

class BcClass;
class BcObject;

// Makes a new default instance of a registered class.
typedef BcObject* (*BcClassFactory)();

// Per-class members of a registered class. Put BC_DECLARE_CLASS(X) (or
// BC_DECLARE_CREATABLE_CLASS(X) for a class with a factory) at the top of the
// class body and the matching BC_IMPLEMENT_... in its .cpp. The macro leaves
// the access at public. The class must also have its row in the class table,
// commands/EdClassTable.cpp (with &X::newInstance as its factory when it has
// one, or installed through BcClassTable::setFactory for a class above the
// core). After
// BcClassManager::deleteInstance the cached class objects are stale: nothing
// may ask for classes after shut-down.
#define BC_DECLARE_CLASS(X)                                                    \
public:                                                                        \
    static const BcClass* staticClass();                                       \
    const BcClass* dynamicClass() const override;

#define BC_DECLARE_CREATABLE_CLASS(X)                                          \
    BC_DECLARE_CLASS(X)                                                        \
    static BcObject* newInstance();

// The class object is looked up by exact name on first use and cached once
// found; a lookup that finds nothing is tried again on the next call.
#define BC_IMPLEMENT_CLASS(X)                                                  \
    const BcClass* X::staticClass()                                            \
    {                                                                          \
        static std::atomic<const BcClass*> cached{nullptr};                    \
        const BcClass* cls = cached.load(std::memory_order_acquire);           \
        if (!cls) {                                                            \
            cls = BcObject::registeredClass(#X);                               \
            cached.store(cls, std::memory_order_release);                      \
        }                                                                      \
        return cls;                                                            \
    }                                                                          \
    const BcClass* X::dynamicClass() const { return X::staticClass(); }

#define BC_IMPLEMENT_CREATABLE_CLASS(X)                                        \
    BC_IMPLEMENT_CLASS(X)                                                      \
    BcObject* X::newInstance() { return new X(); }

// Root of every registered class. Type tests compare class objects; the
// language's type information is never used for them.
class BcObject
{
public:
    virtual ~BcObject();
    // The class object of the most derived registered class.
    virtual const BcClass* dynamicClass() const;

    static const BcClass* staticClass();

    // True when the object's class is cls or derives from it. A null class
    // (asked before linking, or of a name never registered) matches nothing.
    bool isKindOf(const BcClass* cls) const;

    // The class object of exactly that name in the process-wide registry, or
    // null; what every staticClass asks on its first call.
    static const BcClass* registeredClass(const char* name);
};
