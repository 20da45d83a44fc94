#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcObject.h"
#include "foundation/BcString.h"

class BcClassImplementation;
struct BcClassRegistration;

// The process-wide class registry. The singleton is made with the installed
// class table (BcClassTable) registered; linkClasses then makes one class
// object per registration, in registration order. Registers the base name
// "NULL", so the registry itself does not pass the type test for BcObject.
class BcClassManager : public BcObject
{
    BC_DECLARE_CLASS(BcClassManager)
public:
    // An empty registry. The singleton is the one the system uses; tests may
    // make their own.
    BcClassManager();
    ~BcClassManager() override;
    BcClassManager(const BcClassManager&) = delete;
    BcClassManager& operator=(const BcClassManager&) = delete;

    // Made on first use, with the class table installed by then registered.
    // No lock: start-up makes it on the main thread.
    static BcClassManager* instance();
    // Shut-down: deletes the singleton; a later instance() makes a new one.
    static void deleteInstance();

    void registerClass(BcString name, BcString baseName, BcClassFactory factory);
    // Makes the class objects of all registrations not yet linked and links
    // every class object to its base. A base registered after its derived
    // class is found too.
    void linkClasses();
    // The class object of exactly that name; the last one when a name was
    // registered twice; null when none.
    const BcClass* findClass(BcString name) const;

    // The class objects in registration order.
    int classCount() const;
    const BcClass* classAt(int index) const;
    int registrationCount() const;

private:
    BcArray<BcClassRegistration*> registrations;
    BcArray<BcClassImplementation*> classes;
};
